// The whole start-up over fixture trees of the machines Linux users run on:
// a container, a chroot, a Raspberry Pi, a laptop and a server in the C
// locale, and a machine of each architecture beyond the PC, its files as its
// kernel writes them. Every row the tree decides is compared with what the machine's own
// files say; rows that depend on the machine running the test (space, the
// user, the screen, sound and printer) are left out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/host/host_backend.h"
#include "tests/platform/host/host_test_support.h"
#include "tests/support/recording_frontend.h"

namespace si32 {
namespace {

// "  Caption:     value" rows of the report; a row's later lines (the volume
// flags) are joined to it with " | ".
std::map<std::string, std::string> rowsOf(const std::string& report) {
    std::map<std::string, std::string> rows;
    std::istringstream lines(report);
    std::string line, last;
    while (std::getline(lines, line)) {
        if (line.rfind("  ", 0) != 0) continue;
        auto colon = line.find(": ");
        if (colon == std::string::npos && !line.empty() && line.back() == ':') colon = line.size() - 1;
        const auto value = line.find_first_not_of(' ', colon == std::string::npos ? 2 : colon + 1);
        if (colon != std::string::npos && line.find_first_not_of(' ') < colon) {
            last = line.substr(2, colon - 2);
            rows[last] = value == std::string::npos ? "" : line.substr(value);
        } else if (!last.empty() && value != std::string::npos) {
            rows[last] += " | " + line.substr(line.find_first_not_of(' '));
        }
    }
    return rows;
}

struct MachineCase {
    const char* tree;
    const char* machine;  // what uname would say there
    const char* locale;
    std::map<std::string, std::string> expected;
};

const std::vector<MachineCase> kMachines = {
    {"container",
     "x86_64",
     "C.UTF-8",
     {{"Operating System", "Debian GNU/Linux 12 (bookworm)"},
      {"Processor Type", "AuthenticAMD  AMD EPYC  AMD64 Family 26 Model 2 Stepping 1  2596MHz  AT/AT COMPATIBLE"},
      {"Number of Processors", "2"},
      {"System Type", "X86-based PC"},
      {"DOS Version", ""},
      {"Temp Directory", "D:\\tmp\\"},
      {"Drive Type", "Fixed"},
      {"File System", "EXT4"},
      {"Volume Name", "{volume has no label}"},
      {"Serial Number", "0"},
      {"Volume Flags", "FS_CASE_IS_PRESERVED | FS_CASE_SENSITIVE | FS_PERSISTENT_ACLS"}}},
    {"chroot",
     "x86_64",
     "C.UTF-8",
     {{"Operating System", "Ubuntu 22.04.4 LTS"},
      {"Processor Type",
       "GenuineIntel  Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz  Intel64 Family 6 Model 158 Stepping 10  3200MHz  "
       "AT/AT COMPATIBLE"},
      {"Number of Processors", "4"},
      {"Temp Directory", "D:\\tmp\\"},
      {"Drive Type", "Fixed"}}},
    {"raspberry-pi",
     "aarch64",
     "C.UTF-8",
     {{"Operating System", "Debian GNU/Linux 12 (bookworm)"},
      {"Processor Type",
       "ARM Limited  Cortex-A72  ARMv8 (64-bit) Family 8 Model D08 Revision 3  1500MHz  Raspberry Pi 4 Model B Rev "
       "1.4"},
      {"Number of Processors", "4"},
      {"System Type", "ARM64-based PC"},
      {"Keyboard", "gb"},  // the board has no XKB rules list to name it
      {"Temp Directory", "D:\\tmp\\"},
      {"Drive Type", "Fixed"},
      {"File System", "EXT4"}}},
    {"laptop",
     "x86_64",
     "C.UTF-8",
     {{"Operating System", "Ubuntu 23.10"},
      {"Processor Type",
       "GenuineIntel  11th Gen Intel(R) Core(TM) i5-1135G7 @ 2.40GHz  Intel64 Family 6 Model 140 Stepping 1  2400MHz  "
       "LENOVO 20W0003AGE"},
      {"Number of Processors", "8"},
      {"Display Adapter", "Intel Corporation TigerLake-LP GT2 [Iris Xe Graphics]"},
      {"Keyboard", "German (no dead keys"},  // the row shows 20 characters
      {"Mouse", "SYNA8004:00 06CB:CE67 Touchpad"},
      {"Temp Directory", "D:\\tmp\\"},
      {"Drive Type", "Fixed"},
      {"File System", "EXT4"},
      {"Volume Name", "ROOT"},
      {"Serial Number", "1059757134"}}},  // 0x3F2A9C4E, the UUID's first 32 bits
    {"server",
     "x86_64",
     "C",
     {{"Operating System", "Rocky Linux 9.3 (Blue Onyx)"},
      {"Processor Type",
       "GenuineIntel  Intel(R) Xeon(R) Gold 6230 CPU @ 2.10GHz  Intel64 Family 6 Model 85 Stepping 7  2100MHz  "
       "Dell Inc. PowerEdge R640"},
      {"Number of Processors", "2"},
      {"Country", "unknown"},
      {"Temp Directory", "D:\\tmp\\"},
      {"Drive Type", "Fixed"},
      {"File System", "XFS"}}},
    {"arm32-old-kernel",
     "armv7l",
     "C",
     {{"Processor Type",
       "ARM Limited  Cortex-A9  ARMv7 (32-bit) Family 7 Model C09 Revision 10  996MHz  Freescale i.MX 6Quad SABRE "
       "Smart Device Board"},
      {"Number of Processors", "4"},
      {"System Type", "ARM-based PC"},
      {"DOS Version", ""}}},  // a 3.0 kernel
    {"armv6-board",
     "armv6l",
     "C",
     {{"Processor Type",
       "ARM Limited  ARM1176  ARMv6 (32-bit) Family 6 Model B76 Revision 7  1000MHz  Raspberry Pi Zero W Rev 1.1"},
      {"Number of Processors", "1"},
      {"System Type", "ARM-based PC"}}},
    {"arm64-server",
     "aarch64",
     "C",
     {{"Processor Type",
       "ARM Limited  Neoverse-N1  ARMv8 (64-bit) Family 8 Model D0C Revision 1  3000MHz  GIGABYTE R272-P30-00"},
      {"Number of Processors", "80"},
      {"System Type", "ARM64-based PC"}}},
    {"arm64-phone",
     "aarch64",
     "C",
     {{"Processor Type",
       "ARM Limited  Cortex-X3 + Cortex-A715 + Cortex-A510  ARMv8 (64-bit) Family 8 Model D46 Revision 1  3050MHz  "
       "MediaTek Dimensity 9200 phone"},
      {"Number of Processors", "8"},
      {"System Type", "ARM64-based PC"}}},
    {"riscv-board",
     "riscv64",
     "C",
     {{"Processor Type",
       "SiFive  sifive,u74-mc  rv64imafdc mvendorid 0x489 marchid 0x8000000000000007 mimpid 0x4210427  1500MHz  "
       "StarFive VisionFive 2 v1.3B"},
      {"Number of Processors", "4"},
      {"System Type", "RISC-V-based PC"}}},
    {"power-lpar",
     "ppc64le",
     "C",
     {{"Processor Type",
       "IBM  POWER9 (architected), altivec supported  PowerPC revision 2.2 (pvr 004e 0202)  2750MHz  IBM,9009-42A"},
      {"Number of Processors", "8"},
      {"System Type", "PowerPC-based PC"}}},
    {"s390-lpar",
     "s390x",
     "C",
     {{"Processor Type", "IBM/S390  IBM z15 T01  S/390 Machine 8561 Version FF  5200MHz  IBM 8561 T01 LPAR LP01"},
      {"Number of Processors", "4"},
      {"System Type", "S/390-based PC"}}},
    {"s390-zvm",
     "s390x",
     "C",
     // The kernel of this guest states no clock.
     {{"Processor Type", "IBM/S390  IBM z16 A01  S/390 Machine 3931 Version FF  MHz  IBM 3931 A01 under z/VM 7.3.0"},
      {"Number of Processors", "2"},
      {"System Type", "S/390-based PC"},
      {"DOS Version", ""}}},
    {"loongarch-desktop",
     "loongarch64",
     "C",
     {{"Processor Type",
       "Loongson  Loongson-3A5000  Loongson-64bit Revision 0x11  2500MHz  Loongson Loongson-3A5000-7A1000-1w-V0.1-CRB"},
      {"Number of Processors", "4"},
      {"System Type", "LoongArch-based PC"}}},
    {"mips-router",
     "mips",
     "C",
     {{"Processor Type", "MIPS Technologies  MIPS 1004Kc V2.15  mips32r2  MHz  Xiaomi Mi Router 3G"},
      {"Number of Processors", "4"},
      {"System Type", "MIPS-based PC"}}},
    {"sparc-server",
     "sparc64",
     "C",
     {{"Processor Type", "Sun Microsystems  UltraSparc T2 (Niagara2)  SPARC sun4v  1415MHz  sun4v"},
      {"Number of Processors", "64"},
      {"System Type", "SPARC-based PC"}}},
    {"ia64-server",
     "ia64",
     "C",
     {{"Processor Type",
       "GenuineIntel  Dual-Core Intel(R) Itanium(R) 2 Processor 9140M  ia64 Family 32 Model 1 Stepping 1  1669MHz  HP "
       "server rx2660"},
      {"Number of Processors", "4"},
      {"System Type", "Itanium-based PC"}}},
};

void PrintTo(const MachineCase& c, std::ostream* out) { *out << c.tree; }

class FixtureMachine : public ::testing::TestWithParam<MachineCase> {};

TEST_P(FixtureMachine, ReportShowsWhatTheTreeTells) {
    const MachineCase& c = GetParam();
    const std::string root = hosttest::fixture(std::string("machines/") + c.tree);
    ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
    const std::filesystem::path prefix = std::filesystem::temp_directory_path() /
                                         ("si32-fixture-" + std::string(c.tree) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(prefix / "drive_c/WINDOWS/SYSTEM");
    HostContext context;
    context.root = root;
    context.prefix = prefix.string();
    context.machine = c.machine;
    context.environment.Set("LC_ALL", c.locale).Set("TMPDIR", root + "/tmp");
    testsupport::RecordingFrontend frontend;
    auto backend = makeHostBackend(frontend, Program::Report, context);
    Session session(backend->platform());
    Form_Load(session);
    const auto rows = rowsOf(ReportText(session, {}));
    std::filesystem::remove_all(prefix);

    for (const auto& [caption, value] : c.expected) {
        const auto found = rows.find(caption);
        ASSERT_NE(found, rows.end()) << caption;
        EXPECT_EQ(found->second, value) << caption;
    }
    // For the record: how many value rows the start-up filled.
    int filled = 0;
    for (const auto& [caption, value] : rows) filled += !value.empty() && value != "unknown" ? 1 : 0;
    RecordProperty("filled_rows", filled);
    std::printf("%s: %d of %zu rows filled\n", c.tree, filled, rows.size());
    if (std::getenv("SI32_PRINT_ROWS") != nullptr)
        for (const auto& [caption, value] : rows) std::printf("  %s: %s\n", caption.c_str(), value.c_str());
}

INSTANTIATE_TEST_SUITE_P(Trees, FixtureMachine, ::testing::ValuesIn(kMachines), [](const auto& info) {
    std::string name = info.param.tree;
    std::erase(name, '-');
    return name;
});

}  // namespace
}  // namespace si32
