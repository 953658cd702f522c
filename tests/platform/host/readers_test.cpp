// The plain parsers under the host backend's readers: what the kernel and
// the system files write, and what the backend makes of it.
#include <gtest/gtest.h>

#include "platform/host/common/host_read.h"
#include "platform/host/kernel/host_windows_paths.h"
#include "platform/host/machine/host_facts.h"
#include "platform/host/machine/host_passwd.h"
#include "platform/host/machine/machine_kind.h"
#include "platform/host/registry/host_registry_facts.h"

namespace si32 {
namespace {

TEST(KernelRelease, MajorMinorPatch) {
    struct Case {
        const char* release;
        std::optional<std::tuple<uint32_t, uint32_t, uint32_t>> expected;
    };
    const Case cases[] = {
        {"6.1.0-18-amd64", std::tuple{6u, 1u, 0u}},
        {"5.15.153.1-microsoft-standard-WSL2", std::tuple{5u, 15u, 153u}},
        {"6.6.31+rpt-rpi-v8", std::tuple{6u, 6u, 31u}},
        {"4.19", std::tuple{4u, 19u, 0u}},
        {"6.8.0-rc3\n", std::tuple{6u, 8u, 0u}},
        {"", std::nullopt},
        {"linux", std::nullopt},
        {"99999999999.1.1", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto version = parseKernelRelease(c.release);
        ASSERT_EQ(version.has_value(), c.expected.has_value()) << c.release;
        if (version) {
            EXPECT_EQ(std::tuple(version->major, version->minor, version->patch), *c.expected) << c.release;
        }
    }
}

TEST(CpuList, CountAndMask) {
    struct Case {
        const char* list;
        std::optional<std::pair<uint32_t, uint32_t>> expected;  // count, mask
    };
    const Case cases[] = {
        {"0", std::pair{1u, 0x1u}},
        {"0-3\n", std::pair{4u, 0xFu}},
        {"0-3,6,8-9", std::pair{7u, 0x34Fu}},
        {"0-63", std::pair{64u, 0xFFFFFFFFu}},
        {"30-33", std::pair{4u, 0xC0000000u}},
        // Each processor counts once, however the list repeats or orders it.
        {"0-1,0-1,0-1", std::pair{2u, 0x3u}},
        {"0-3,2-5", std::pair{6u, 0x3Fu}},
        {"4-7,0-3", std::pair{8u, 0xFFu}},
        {"5,3,5,3-4", std::pair{3u, 0x38u}},
        {"0-40,35-36,38", std::pair{41u, 0xFFFFFFFFu}},
        {"2-9,3-4", std::pair{8u, 0x3FCu}},
        {"0-4294967294", std::pair{4294967295u, 0xFFFFFFFFu}},
        {"0-4294967295", std::nullopt},
        {"0-4294967294,0-4294967294", std::pair{4294967295u, 0xFFFFFFFFu}},
        {"0-18446744073709551615", std::nullopt},
        {"0,", std::nullopt},
        {",0", std::nullopt},
        {"0,,1", std::nullopt},
        {"1-2-3", std::nullopt},
        {"-1", std::nullopt},
        {"0-x", std::nullopt},
        {"", std::nullopt},
        {"3-1", std::nullopt},
        {"0-", std::nullopt},
        {"0;1", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto set = parseCpuList(c.list);
        ASSERT_EQ(set.has_value(), c.expected.has_value()) << c.list;
        if (set) {
            EXPECT_EQ(std::pair(set->count, set->mask), *c.expected) << c.list;
        }
    }
}

TEST(MachineKind, CpuinfoLayoutAndWindowsCodesForMachineNames) {
    using A = CpuArchitecture;
    struct Case {
        const char* machine;
        CpuArchitecture layout;
        uint16_t architecture;
        uint32_t type;
    };
    const Case cases[] = {
        {"x86_64", A::X86_64, 9, 8664},   {"amd64", A::X86_64, 9, 8664},
        {"i686", A::X86, 0, 586},         {"i586", A::X86, 0, 586},
        {"i486", A::X86, 0, 486},         {"i386", A::X86, 0, 386},
        {"aarch64", A::Arm64, 12, 2577},  {"arm64", A::Arm64, 12, 2577},
        {"armv7l", A::Arm, 5, 2577},      {"ppc64le", A::Power, 3, 620},
        {"ppc", A::Power, 3, 601},        {"powerpc64", A::Power, 3, 601},
        {"ia64", A::Ia64, 6, 2200},       {"riscv64", A::RiscV, 0x8001, 0},
        {"s390x", A::S390, 0x8004, 0},    {"loongarch64", A::LoongArch, 0x8002, 0},
        {"sparc64", A::Sparc, 0x8003, 0}, {"mips", A::Mips, 1, 4000},
        {"mips64", A::Mips, 1, 4000},     {"alpha", A::Unknown, 2, 21064},
        {"sh4", A::Unknown, 4, 104},      {"parisc", A::Unknown, 0xFFFF, 0},
        {"", A::Unknown, 0xFFFF, 0},
    };
    for (const Case& c : cases) {
        const MachineKind kind = machineKindOf(c.machine);
        EXPECT_EQ(kind.architecture, c.layout) << c.machine;
        EXPECT_EQ(kind.code.architecture, c.architecture) << c.machine;
        EXPECT_EQ(kind.code.type, c.type) << c.machine;
    }
}

TEST(Meminfo, TotalsAndLoad) {
    struct Case {
        const char* text;
        std::optional<MemoryFacts> expected;
        uint32_t load;
    };
    const Case cases[] = {
        {"MemTotal: 1000 kB\nMemFree: 100 kB\nMemAvailable: 250 kB\nSwapTotal: 8 kB\nSwapFree: 4 kB\n",
         MemoryFacts{1024000, 256000, 8192, 4096}, 75},
        // Before 3.14 the kernel wrote no estimate of what is available.
        {"MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 200 kB\n", MemoryFacts{1024000, 358400, 0, 0},
         65},
        {"MemTotal: 1000 kB\nMemAvailable: 1000 kB\n", MemoryFacts{1024000, 1024000, 0, 0}, 0},
        {"MemTotal: 1000 kB\nMemAvailable: 0 kB\n", MemoryFacts{1024000, 0, 0, 0}, 100},
        {"MemTotal: 1000 kB\nMemAvailable: 999 kB\n", MemoryFacts{1024000, 1022976, 0, 0}, 0},
        // Windows rounds the load down: 66.7 % is 66.
        {"MemTotal: 1000 kB\nMemAvailable: 333 kB\n", MemoryFacts{1024000, 340992, 0, 0}, 66},
        {"MemFree: 100 kB\n", std::nullopt, 0},
        {"MemTotal: 0 kB\nMemAvailable: 0 kB\n", std::nullopt, 0},
        {"MemTotal: 1000 kB\n", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const auto memory = parseMeminfo(c.text);
        ASSERT_EQ(memory.has_value(), c.expected.has_value()) << c.text;
        if (!memory) continue;
        EXPECT_EQ(memory->total, c.expected->total) << c.text;
        EXPECT_EQ(memory->available, c.expected->available) << c.text;
        EXPECT_EQ(memory->swapTotal, c.expected->swapTotal) << c.text;
        EXPECT_EQ(memory->swapFree, c.expected->swapFree) << c.text;
        EXPECT_EQ(memoryLoad(*memory), c.load) << c.text;
    }
}

TEST(ShellAssignments, QuotingAsTheShellReadsIt) {
    const auto values = parseShellAssignments(
        "# comment\n"
        "PLAIN=debian\n"
        "DOUBLE=\"Debian GNU/Linux 12 (bookworm)\"\n"
        "SINGLE='it''s \"raw\" $HOME'\n"
        "ESCAPED=\"say \\\"hi\\\" \\\\ \\$x\"\n"
        "TRAILING=value # comment\n"
        "export EXPORTED=\"yes\"\r\n"
        "EMPTY=\n"
        "=novalue\n"
        "no equals sign\n");
    const std::map<std::string, std::string> expected{
        {"PLAIN", "debian"},
        {"DOUBLE", "Debian GNU/Linux 12 (bookworm)"},
        {"SINGLE", "its \"raw\" $HOME"},
        {"ESCAPED", "say \"hi\" \\ $x"},
        {"TRAILING", "value"},
        {"EXPORTED", "yes"},
        {"EMPTY", ""},
    };
    EXPECT_EQ(values, expected);
}

TEST(OperatingSystemName, FromOsRelease) {
    const std::pair<const char*, const char*> cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"NAME=\"Raspbian GNU/Linux\"\nVERSION=\"11 (bullseye)\"\n", "Raspbian GNU/Linux 11 (bullseye)"},
        {"NAME=Arch\nPRETTY_NAME=\"\"\n", "Arch"},
        {"ID=custom\n", "Linux"},
        {"", "Linux"},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(operatingSystemName(text), name) << text;
}

TEST(Passwd, LoginAndFullName) {
    const std::string passwd =
        "root:x:0:0:root:/root:/bin/bash\n"
        "broken line\n"
        "alice:x:1000:1000:Alice Liddell,Room 7,,:/home/alice:/bin/bash\n"
        "fred:x:1001:1001:& Bloggs:/home/fred:/bin/sh\n"
        "pi:x:1002:1002::/home/pi:/bin/bash\n"
        "blank:x:1003:1003: , ,:/home/blank:/bin/bash\n"
        "ünï:x:1004:1004:Zoë Ünïcode:/home/u:/bin/sh\n";
    struct Case {
        uint32_t uid;
        const char* login;
        const char* fullName;
    };
    const Case cases[] = {
        {0, "root", "root"}, {1000, "alice", "Alice Liddell"}, {1001, "fred", "Fred Bloggs"},
        {1002, "pi", "pi"},  {1003, "blank", "blank"},         {1004, "ünï", "Zoë Ünïcode"},
    };
    for (const Case& c : cases) {
        const auto user = findUserInPasswd(passwd, c.uid);
        ASSERT_TRUE(user) << c.uid;
        EXPECT_EQ(user->login, c.login);
        EXPECT_EQ(fullNameOf(*user), c.fullName);
    }
    EXPECT_FALSE(findUserInPasswd(passwd, 4242));
}

TEST(WindowsPaths, MadeWholeFromTheCurrentPlaces) {
    const auto current = [](char letter) -> std::string {
        if (letter == 'C') return "WINDOWS\\SYSTEM";
        if (letter == 'D') return "data";
        return "";
    };
    const std::pair<const char*, const char*> cases[] = {
        {"TRVWIN.INI", "C:\\WINDOWS\\SYSTEM\\TRVWIN.INI"},
        {"..\\win.ini", "C:\\WINDOWS\\win.ini"},
        {"\\TARVELLO\\tarvello.exe", "C:\\TARVELLO\\tarvello.exe"},
        {"d:res.tmp", "D:\\data\\res.tmp"},
        {"D:\\", "D:\\"},
        {"e:", "E:\\"},
        {"C:/WINDOWS/./SYSTEM//x.ini", "C:\\WINDOWS\\SYSTEM\\x.ini"},
        {"C:\\..\\..\\boot.ini", "C:\\boot.ini"},
        {"", "C:\\WINDOWS\\SYSTEM"},
    };
    for (const auto& [path, full] : cases) EXPECT_EQ(fullWindowsPath(path, 'c', current), full) << path;
    EXPECT_EQ(windowsParent("C:\\WINDOWS\\win.ini"), "C:\\WINDOWS");
    EXPECT_EQ(windowsParent("C:\\boot.ini"), "C:\\");
    EXPECT_EQ(windowsBaseName("C:\\WINDOWS\\win.ini"), "win.ini");
}

}  // namespace
}  // namespace si32
