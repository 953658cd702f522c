// The live machine's facts read from fixture trees: the registry values, the
// processor description and the INI keys that have no file on Linux.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/common/host_read.h"
#include "platform/host/kernel/host_ini_facts.h"
#include "platform/host/machine/host_cpu.h"
#include "platform/host/machine/host_facts.h"
#include "platform/host/machine/machine_facts.h"
#include "platform/host/registry/host_registry.h"
#include "platform/host/registry/host_registry_facts.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

using hosttest::fixture;

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kSystem = "HARDWARE\\DESCRIPTION\\System";
constexpr const char* kProcessor = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr const char* kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// "key|name" -> the value as text (a DWORD in decimal), of a machine whose
// uname says `machine`.
std::map<std::string, std::string> registryOf(const std::string& root, const std::string& machine,
                                              const std::string& release, uint32_t uid, const std::string& path) {
    const LiveRegistrySources sources{root, readMachineFacts(root, machine), release, uid, path};
    std::map<std::string, std::string> values;
    for (const LiveRegistryValue& value : liveRegistryValues(sources)) {
        const std::string id = value.key + "|" + value.name;
        EXPECT_EQ(values.count(id), 0u) << "set twice: " << id;
        values[id] = value.type == REG_DWORD ? "dword:" + std::to_string(value.dword) : value.text;
    }
    return values;
}

std::string id(const char* key, const char* name) { return std::string(key) + "|" + name; }

TEST(LiveRegistry, PcWithFirmwareTables) {
    const auto values = registryOf(fixture("x86"), "x86_64", "6.1.0-18-amd64", 1000, "/nonexistent:/usr/bin");
    const std::map<std::string, std::string> expected{
        {id(kCurrentVersion, "ProductName"), "Debian GNU/Linux 12 (bookworm)"},
        {id(kCurrentVersion, "VersionNumber"), "6.1.0-18-amd64"},
        {id(kCurrentVersion, "RegisteredOwner"), "Alice Liddell"},
        {id(kCurrentVersion, "RegisteredOrganization"), ""},
        {id(kSystem, "Identifier"), "Dell Inc. OptiPlex 7070"},
        {id(kSystem, "SystemBiosDate"), "03/14/2023"},
        {id(kSystem, "SystemBiosVersion"), "1.21.0"},
        {id(kProcessor, "ProcessorNameString"), "Intel(R) Xeon(R) Gold 6230 CPU @ 2.10GHz"},
        {id(kProcessor, "VendorIdentifier"), "GenuineIntel"},
        {id(kProcessor, "Identifier"), "Intel64 Family 6 Model 85 Stepping 7"},
        {id(kProcessor, "~Mhz"), "dword:2100"},
        // hardinfo2 is there but cannot be run; hardinfo comes next.
        {id(kMsInfo, "PATH"), "/usr/bin/hardinfo"},
    };
    EXPECT_EQ(values, expected);
}

TEST(LiveRegistry, BoardWithDeviceTreeAndNoFullName) {
    const auto values = registryOf(fixture("arm"), "aarch64", "6.6.31+rpt-rpi-v8", 1000, "/usr/bin");
    const std::map<std::string, std::string> expected{
        {id(kCurrentVersion, "ProductName"), "Raspbian GNU/Linux 11 (bullseye)"},
        {id(kCurrentVersion, "VersionNumber"), "6.6.31+rpt-rpi-v8"},
        {id(kCurrentVersion, "RegisteredOwner"), "pi"},
        {id(kCurrentVersion, "RegisteredOrganization"), ""},
        {id(kSystem, "Identifier"), "Raspberry Pi 4 Model B Rev 1.4"},
        {id(kProcessor, "ProcessorNameString"), "Cortex-A72"},
        {id(kProcessor, "VendorIdentifier"), "ARM Limited"},
        {id(kProcessor, "Identifier"), "ARMv8 (64-bit) Family 8 Model D08 Revision 3"},
        {id(kProcessor, "~Mhz"), "dword:1500"},
    };
    EXPECT_EQ(values, expected);
}

TEST(LiveRegistry, NothingKnownIsNothingInvented) {
    // os-release's own default name, and the one value Linux never records;
    // a PC is an "AT/AT COMPATIBLE" machine even without firmware tables.
    for (const char* machine : {"x86_64", "i686", "riscv64"}) {
        SCOPED_TRACE(machine);
        const auto values = registryOf(fixture("empty"), machine, "", 1000, "");
        std::map<std::string, std::string> expected{
            {id(kCurrentVersion, "ProductName"), "Linux"},
            {id(kCurrentVersion, "RegisteredOrganization"), ""},
        };
        if (std::string_view(machine) != "riscv64") expected[id(kSystem, "Identifier")] = "AT/AT COMPATIBLE";
        EXPECT_EQ(values, expected);
    }
}

TEST(CpuDescription, ArchitecturesAsWindowsNamesThem) {
    struct Case {
        const char* tree;
        const char* machine;
        const char* vendor;
        const char* name;
        const char* identifier;
        uint16_t level, revision;
        std::optional<uint32_t> mhz;
    };
    const Case cases[] = {
        {"x86", "x86_64", "GenuineIntel", "Intel(R) Xeon(R) Gold 6230 CPU @ 2.10GHz",
         "Intel64 Family 6 Model 85 Stepping 7", 6, 0x5507, 2100},
        {"x86", "i686", "GenuineIntel", "Intel(R) Xeon(R) Gold 6230 CPU @ 2.10GHz", "x86 Family 6 Model 85 Stepping 7",
         6, 0x5507, 2100},
        {"amd", "x86_64", "AuthenticAMD", "AMD EPYC 7742 64-Core Processor", "AMD64 Family 23 Model 49 Stepping 0", 23,
         0x3100, 2250},
        // Only Intel's own parts are named with Intel's word; the frequency
        // driver's kHz round to the nearest MHz.
        {"hygon", "x86_64", "HygonGenuine", "Hygon C86 7185 32-core Processor", "AMD64 Family 24 Model 0 Stepping 1",
         24, 0x0001, 2500},
        {"zhaoxin", "x86_64", "CentaurHauls", "ZHAOXIN KaiXian KX-U6780A@2.7GHz", "AMD64 Family 7 Model 59 Stepping 0",
         7, 0x3B00, 2700},
        {"arm", "aarch64", "ARM Limited", "Cortex-A72", "ARMv8 (64-bit) Family 8 Model D08 Revision 3", 8, 3, 1500},
        {"arm32", "armv7l", "ARM Limited", "Cortex-A7", "ARMv7 (32-bit) Family 7 Model C07 Revision 5", 7, 5,
         std::nullopt},
        {"empty", "x86_64", "", "", "", 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::string cpuinfo = readUnderRoot(fixture(c.tree), "/proc/cpuinfo").value_or("");
        const CpuDescription cpu = describeCpu(cpuinfo, machineKindOf(c.machine).architecture, fixture(c.tree));
        EXPECT_EQ(cpu.vendorIdentifier, c.vendor) << c.tree;
        EXPECT_EQ(cpu.processorNameString, c.name) << c.tree;
        EXPECT_EQ(cpu.identifier, c.identifier) << c.tree;
        EXPECT_EQ(cpu.level, c.level) << c.tree;
        EXPECT_EQ(cpu.revision, c.revision) << c.tree;
        EXPECT_EQ(nominalMhz(fixture(c.tree), cpu), c.mhz) << c.tree;
    }
}

TEST(MachineFacts, OneReadDescribesTheMachine) {
    struct Case {
        const char* tree;
        const char* machine;  // "" asks this machine's uname
        CpuArchitecture layout;
        const char* identifier;
        std::optional<uint32_t> mhz;
    };
    const std::string here = machineName();
    const Case cases[] = {
        {"x86", "x86_64", CpuArchitecture::X86_64, "Intel64 Family 6 Model 85 Stepping 7", 2100},
        {"arm", "aarch64", CpuArchitecture::Arm64, "ARMv8 (64-bit) Family 8 Model D08 Revision 3", 1500},
        // The same file read as another architecture's layout names nothing.
        {"x86", "s390x", CpuArchitecture::S390, "", std::nullopt},
        {"empty", "", machineKindOf(here).architecture, "", std::nullopt},
    };
    for (const Case& c : cases) {
        const MachineFacts facts = readMachineFacts(fixture(c.tree), c.machine);
        EXPECT_EQ(facts.machine, *c.machine != '\0' ? c.machine : here) << c.tree << " " << c.machine;
        EXPECT_EQ(facts.kind.architecture, c.layout) << c.tree << " " << c.machine;
        EXPECT_EQ(facts.cpu.identifier, c.identifier) << c.tree << " " << c.machine;
        EXPECT_EQ(facts.mhz, c.mhz) << c.tree << " " << c.machine;
    }
}

// n processor blocks from processor `first` on, each the given fields.
std::string blocks(int n, const std::string& fields, int first = 0) {
    std::string text;
    for (int i = first; i < first + n; ++i) text += "processor\t: " + std::to_string(i) + "\n" + fields + "\n";
    return text;
}

std::string armCore(const char* part, const char* revision = "1") {
    return std::string("CPU implementer\t: 0x41\nCPU architecture: 8\nCPU variant\t: 0x0\nCPU part\t: ") + part +
           "\nCPU revision\t: " + revision + "\n";
}

TEST(CpuDescription, BadInputNamesOnlyWhatTheFileTells) {
    struct Case {
        const char* what;
        const char* machine;
        std::string cpuinfo;
        const char* vendor;
        const char* name;
        const char* identifier;
    };
    std::string crlf = blocks(2, armCore("0xd03", "4"));
    for (std::size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2) crlf.insert(at, "\r");
    const Case cases[] = {
        {"fields in another order, unknown fields, lines without a colon", "x86_64",
         "flux capacitor : 1.21 GW\nstepping : 7\nmodel : 85\njust words\nvendor_id : GenuineIntel\n"
         "cpu family : 6\nmodel name : Intel(R) Xeon(R)\n",
         "GenuineIntel", "Intel(R) Xeon(R)", "Intel64 Family 6 Model 85 Stepping 7"},
        {"missing family", "x86_64", "vendor_id : AuthenticAMD\nmodel : 1\nstepping : 0\n", "AuthenticAMD", "", ""},
        {"blank lines before, between and after", "aarch64", "\n\n\r\n" + blocks(1, armCore("0xd0b")) + "\n\n\n",
         "ARM Limited", "Cortex-A76", "ARMv8 (64-bit) Family 8 Model D0B Revision 1"},
        {"Windows line ends", "aarch64", crlf, "ARM Limited", "Cortex-A53",
         "ARMv8 (64-bit) Family 8 Model D03 Revision 4"},
        {"unknown part of a known implementer", "aarch64", blocks(1, armCore("0xdff")), "ARM Limited", "ARM part 0xdff",
         "ARMv8 (64-bit) Family 8 Model DFF Revision 1"},
        {"unknown implementer", "aarch64",
         "CPU implementer\t: 0x99\nCPU architecture: 8\nCPU part\t: 0x001\nCPU revision\t: 0\n", "Implementer 0x99",
         "Implementer 0x99 part 0x001", "ARMv8 (64-bit) Family 8 Model 1 Revision 0"},
        {"a part that is no number", "armv7l",
         "model name\t: ARMv7 Processor rev 2 (v7l)\nCPU implementer\t: 0x41\nCPU part\t: banana\n", "ARM Limited",
         "ARMv7 Processor rev 2 (v7l)", ""},
        {"old ARM core with the old ID scheme", "armv5tel",
         "Processor\t: ARM926EJ-S rev 5 (v5l)\nCPU implementer\t: 0x41\nCPU architecture: 5TEJ\nCPU part\t: 0x926\n"
         "CPU revision\t: 5\n",
         "ARM Limited", "ARM926", "ARMv5 (32-bit) Family 5 Model 926 Revision 5"},
        {"the first 64-bit kernels", "aarch64",
         "Processor\t: AArch64 Processor rev 0 (aarch64)\nprocessor\t: 0\n\nCPU implementer\t: 0x41\n"
         "CPU architecture: AArch64\nCPU part\t: 0xd07\nCPU revision\t: 0\n",
         "ARM Limited", "Cortex-A57", "ARMv8 (64-bit) Family 8 Model D07 Revision 0"},
        {"10,000 processors of one kind", "x86_64",
         blocks(10000, "vendor_id : GenuineIntel\ncpu family : 6\nmodel : 143\nstepping : 8\nmodel name : Xeon\n"),
         "GenuineIntel", "Xeon", "Intel64 Family 6 Model 143 Stepping 8"},
        {"10,000 processors of two kinds, no sizes published", "aarch64",
         blocks(5000, armCore("0xd05")) + blocks(5000, armCore("0xd0b"), 5000), "ARM Limited",
         "Cortex-A76 + Cortex-A55", "ARMv8 (64-bit) Family 8 Model D05 Revision 1"},
        {"RISC-V without a core name or maker code", "riscv64", "processor\t: 0\nhart\t: 0\nisa\t: rv64imafdcv\n", "",
         "RISC-V rv64imafdcv", "rv64imafdcv"},
        {"s390 of a machine type not in the table", "s390x",
         "vendor_id : IBM/S390\nprocessor 0: version = 00,  identification = 012345,  machine = 1234\n", "IBM/S390",
         "IBM machine 1234", "S/390 Machine 1234 Version 00"},
        {"POWER without a revision", "ppc64", "processor\t: 0\ncpu\t: PPC970MP, altivec supported\n", "IBM",
         "PPC970MP, altivec supported", ""},
        {"empty", "mips", "", "", "", ""},
        {"binary", "sparc64", std::string("\0\xff\xfe:\x01\n\n", 7), "", "", ""},
    };
    for (const Case& c : cases) {
        const CpuDescription cpu = describeCpu(c.cpuinfo, machineKindOf(c.machine).architecture);
        EXPECT_EQ(cpu.vendorIdentifier, c.vendor) << c.what;
        EXPECT_EQ(cpu.processorNameString, c.name) << c.what;
        EXPECT_EQ(cpu.identifier, c.identifier) << c.what;
    }
}

TEST(CpuDescription, KindsOfCoreBiggestFirstBySysfs) {
    // Three kinds in the kernel's order, smallest first; what sysfs says of
    // their size wins over what the cores are built to be.
    const std::string cpuinfo =
        blocks(2, armCore("0xd05")) + blocks(1, armCore("0xd0b"), 2) + blocks(1, armCore("0xd44"), 3);
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        const char* name;
    };
    const Case cases[] = {
        {"nothing published: by design", {}, "Cortex-X1 + Cortex-A76 + Cortex-A55"},
        {"capacity",
         {{"cpu0/cpu_capacity", "400"}, {"cpu2/cpu_capacity", "1024"}, {"cpu3/cpu_capacity", "900"}},
         "Cortex-A76 + Cortex-X1 + Cortex-A55"},
        {"clock when a capacity is missing",
         {{"cpu0/cpu_capacity", "400"},
          {"cpu0/cpufreq/cpuinfo_max_freq", "2000000"},
          {"cpu2/cpufreq/cpuinfo_max_freq", "2400000"},
          {"cpu3/cpufreq/cpuinfo_max_freq", "2200000"}},
         "Cortex-A76 + Cortex-X1 + Cortex-A55"},
    };
    for (const Case& c : cases) {
        hosttest::ScratchDir root;
        for (const auto& [file, text] : c.files) root.write("sys/devices/system/cpu/" + file, text + "\n");
        EXPECT_EQ(describeCpu(cpuinfo, CpuArchitecture::Arm64, root.path()).processorNameString, c.name) << c.what;
    }
}

TEST(CpuDescription, ClockInOrderOfTrust) {
    struct Case {
        const char* what;
        const char* machine;
        std::string cpuinfo;
        std::map<std::string, std::string> files;
        std::optional<uint32_t> mhz;
    };
    const std::string laptop = "vendor_id : GenuineIntel\nmodel name : Intel(R) Core(TM) i7-1165G7 @ 2.80GHz\n";
    const std::string cpufreq = "sys/devices/system/cpu/cpu0/cpufreq/";
    const Case cases[] = {
        {"the rating over a lowered base",
         "x86_64",
         laptop + "cpu MHz : 1200.000\n",
         {{cpufreq + "base_frequency", "1200000"}, {cpufreq + "cpuinfo_max_freq", "4700000"}},
         2800},
        {"the rating in MHz", "i686", "model name : Pentium III @ 800MHz\n", {}, 800},
        {"a rating that is no clock", "x86_64", "model name : Something @ fast\n", {}, std::nullopt},
        {"the driver's nominal rate",
         "x86_64",
         "model name : AMD Ryzen 9 7950X\ncpu MHz : 545.000\n",
         {{cpufreq + "amd_pstate_nominal_freq", "4500000"}, {cpufreq + "cpuinfo_max_freq", "5881000"}},
         4500},
        {"the highest of the policies",
         "aarch64",
         "",
         {{"sys/devices/system/cpu/cpufreq/policy0/cpuinfo_max_freq", "1800000"},
          {"sys/devices/system/cpu/cpufreq/policy4/cpuinfo_max_freq", "3050000"},
          {cpufreq + "cpuinfo_max_freq", "1800000"}},
         3050},
        {"a virtual machine's clock", "x86_64", "model name : QEMU Virtual CPU\ncpu MHz : 2894.562\n", {}, 2895},
        {"POWER", "ppc64le", "processor : 0\ncpu : POWER10\nclock : 3450.000000MHz\n", {}, 3450},
        {"LoongArch", "loongarch64", "processor : 0\nCPU MHz : 2200.00\n", {}, 2200},
        {"s390, after the shared block",
         "s390x",
         "vendor_id : IBM/S390\n\ncpu number : 0\ncpu MHz static : 5200\n",
         {},
         5200},
        {"SPARC, in Hz and hexadecimal", "sparc64", "cpu : SPARC-T4\nCpu0ClkTck : 00000000b2d05e00\n", {}, 3000},
        {"the device tree, a cell in Hz",
         "riscv64",
         "isa : rv64gc\n",
         {{"proc/device-tree/cpus/cpu@0/clock-frequency", std::string("\x59\x68\x2f\x00", 4)}},
         1500},
        {"nothing known", "mips", "cpu model : MIPS 24KEc V5.5\n", {}, std::nullopt},
        {"a clock that is no number", "x86_64", "cpu MHz : fast\n", {{cpufreq + "base_frequency", "x"}}, std::nullopt},
    };
    for (const Case& c : cases) {
        hosttest::ScratchDir root;
        for (const auto& [file, text] : c.files) root.write(file, text);
        EXPECT_EQ(nominalMhz(root.path(), describeCpu(c.cpuinfo, machineKindOf(c.machine).architecture)), c.mhz)
            << c.what;
    }
}

TEST(LiveRegistry, MachineNamedWhereverTheProcessorIs) {
    struct Case {
        const char* what;
        const char* machine;
        std::map<std::string, std::string> files;
        std::optional<std::string> identifier;
    };
    const Case cases[] = {
        {"the kernel's board name",
         "armv7l",
         {{"proc/cpuinfo", "processor : 0\n" + armCore("0xc09") + "\nHardware : Freescale i.MX53\n"}},
         "Freescale i.MX53"},
        {"the device tree over cpuinfo",
         "mips",
         {{"proc/cpuinfo", "system type : MediaTek MT7621\ncpu model : MIPS 1004Kc\n"},
          {"proc/device-tree/model", std::string("ZBT WG3526\0", 11)}},
         "ZBT WG3526"},
        {"POWER's model after the processors",
         "ppc64le",
         {{"proc/cpuinfo", "processor : 0\ncpu : POWER9\n\nplatform : PowerNV\nmodel : 9006-22P\n"}},
         "9006-22P"},
        {"an s390 without its firmware file",
         "s390x",
         {{"proc/cpuinfo", "vendor_id : IBM/S390\nprocessor 0: version = FF,  identification = 1,  machine = 3906\n"}},
         "IBM 3906"},
        {"nothing but the processor", "riscv64", {{"proc/cpuinfo", "processor : 0\nisa : rv64gc\n"}}, "riscv64"},
        {"no processor, no name", "riscv64", {{"proc/cpuinfo", "hart : 0\n"}}, std::nullopt},
    };
    for (const Case& c : cases) {
        hosttest::ScratchDir root;
        for (const auto& [file, text] : c.files) root.write(file, text);
        const auto values = registryOf(root.path(), c.machine, "", 1000, "");
        const auto found = values.find(id(kSystem, "Identifier"));
        EXPECT_EQ(found == values.end() ? std::nullopt : std::optional<std::string>(found->second), c.identifier)
            << c.what;
    }
}

TEST(LiveIni, KeysWithoutAFile) {
    struct Case {
        const char* tree;
        const char* file;
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"x86", "system.ini", "boot.description", "keyboard.typ", "English (US, intl., with dead keys), German"},
        {"x86", "SYSTEM.INI", "Boot.Description", "display.drv",
         "Intel Corporation CoffeeLake-S GT2 [UHD Graphics 630]"},
        {"x86", "system.ini", "boot.description", "mouse.drv", "Logitech USB Optical Mouse"},
        {"x86", "system.ini", "mci", "cdaudio", "/dev/sr0"},
        {"x86", "system.ini", "boot.description", "network.drv", std::nullopt},
        {"x86", "win.ini", "boot.description", "mouse.drv", std::nullopt},
        {"x86", "other.ini", "mci", "cdaudio", std::nullopt},
        {"arm", "system.ini", "boot.description", "keyboard.typ", std::nullopt},
        {"arm", "system.ini", "boot.description", "display.drv", std::nullopt},
        {"arm", "system.ini", "boot.description", "mouse.drv", std::nullopt},
        {"arm", "system.ini", "mci", "cdaudio", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(liveIniValue(fixture(c.tree), HostEnvironment(), c.file, c.section, c.key), c.value)
            << c.tree << " " << c.key;
}

TEST(LiveIni, DisplayAdapterNeedsTheIdDatabase) {
    hosttest::ScratchDir root;
    root.write("sys/class/drm/card0/device/vendor", "0x8086\n");
    root.write("sys/class/drm/card0/device/device", "0x3e98\n");
    EXPECT_EQ(displayAdapterName(root.path()), std::nullopt);
    root.write("usr/share/hwdata/pci.ids", "8086  Intel Corporation\n\t3e92  CoffeeLake-S GT2\n");
    // The maker is known, the model is not: its number is the true answer.
    EXPECT_EQ(displayAdapterName(root.path()), "Intel Corporation, device 3e98");
    root.write("sys/class/drm/card0/device/vendor", "0x1234\n");
    EXPECT_EQ(displayAdapterName(root.path()), std::nullopt);
}

TEST(LiveIni, SessionLayoutFromTheRootWindowsRulesNames) {
    using Keys = std::map<std::string, std::string>;
    struct Case {
        std::string property;
        Keys keys;
    };
    for (const Case& c : std::vector<Case>{
             {std::string("evdev\0pc105\0us,de\0,nodeadkeys\0grp:alt_shift_toggle\0", 51),
              {{"XKBMODEL", "pc105"}, {"XKBLAYOUT", "us,de"}, {"XKBVARIANT", ",nodeadkeys"}}},
             {std::string("evdev\0pc104\0gb", 14), {{"XKBMODEL", "pc104"}, {"XKBLAYOUT", "gb"}, {"XKBVARIANT", ""}}},
             {"", {{"XKBMODEL", ""}, {"XKBLAYOUT", ""}, {"XKBVARIANT", ""}}},
         })
        EXPECT_EQ(parseXkbRulesNames(c.property), c.keys);
}

TEST(LiveIni, KeyboardCodesWhenTheRulesListIsMissing) {
    struct Case {
        const char* settings;
        std::optional<std::string> description;
    };
    const Case cases[] = {
        {"KEYMAP=de\nXKBLAYOUT=de\nXKBMODEL=pc105\nXKBVARIANT=nodeadkeys\n", "de (nodeadkeys)"},
        {"XKBLAYOUT=us,de\nXKBMODEL=pc105\n", "us, de"},
        // Without a layout the model is all there is to name.
        {"XKBMODEL=pc104\n", "pc104"},
        {"KEYMAP=de\n", std::nullopt},
    };
    for (const Case& c : cases) {
        hosttest::ScratchDir root;
        root.write("etc/vconsole.conf", c.settings);
        EXPECT_EQ(keyboardDescription(root.path(), ""), c.description) << c.settings;
    }
}

TEST(LiveIni, KeyboardNamedFromTheRulesList) {
    const std::string list =
        "! model\n  pc105           Generic 105-key PC\n  pc104           Generic 104-key PC\n"
        "! layout\n  us              English (US)\n  de              German\n"
        "! variant\n  nodeadkeys      de: German (no dead keys)\n  intl            us: English (US, intl., with dead "
        "keys)\n";
    struct Case {
        std::string settings;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{
             {"XKBMODEL=pc105\nXKBLAYOUT=de\nXKBVARIANT=nodeadkeys\n", "German (no dead keys)"},
             {"XKBMODEL=pc104\nXKBLAYOUT=us,de\nXKBVARIANT=intl,\n", "English (US, intl., with dead keys), German"},
             // What the list lacks keeps its code.
             {"XKBMODEL=pc86\nXKBLAYOUT=fr,us\nXKBVARIANT=,dvorak\n", "fr, English (US) (dvorak)"},
             {"XKBLAYOUT=us\n", "English (US)"},
             // Only without a layout does the model name the keyboard.
             {"XKBMODEL=pc104\n", "Generic 104-key PC"},
         }) {
        hosttest::ScratchDir root;
        root.write("etc/default/keyboard", c.settings);
        root.write("usr/share/X11/xkb/rules/evdev.lst", list);
        EXPECT_EQ(keyboardDescription(root.path(), ""), c.expected) << c.settings;
    }
}

TEST(LiveIni, CountryOfTheLocale) {
    const bool german = hosttest::localeInstalled("de_DE.UTF-8");
    if (!german) std::printf("skipped in part: the de_DE.UTF-8 locale is not installed\n");
    struct Case {
        std::vector<std::pair<const char*, const char*>> variables;
        bool needsGerman;
        std::optional<std::string> country;
    };
    const Case cases[] = {
        {{}, false, std::nullopt},
        {{{"LC_ALL", "C"}}, false, std::nullopt},
        {{{"LC_ADDRESS", "de_DE.UTF-8"}}, true, "Deutschland"},
        {{{"LANG", "de_DE.UTF-8"}}, true, "Deutschland"},
        {{{"LC_ALL", "C"}, {"LC_ADDRESS", "de_DE.UTF-8"}}, false, std::nullopt},
        {{{"LC_ADDRESS", "C"}, {"LANG", "de_DE.UTF-8"}}, false, std::nullopt},
    };
    for (const Case& c : cases) {
        if (c.needsGerman && !german) continue;
        HostEnvironment environment;
        std::string named;
        for (const auto& [name, value] : c.variables) {
            environment.Set(name, value);
            named += std::string(name) + "=" + value + " ";
        }
        EXPECT_EQ(localeCountryName(environment), c.country) << named;
    }
}

// The user's registry.reg is read as regedit imports it: a line it cannot
// read is skipped with a warning naming the file and line; a file that cannot
// be read at all is reported, never silently ignored.
TEST(HostRegistryOverlay, KeepsWhatItCanReadAndSaysWhatItCannot) {
    struct Case {
        const char* name;
        std::string fileText;     // empty: registry.reg is a directory
        const char* ownerShown;   // "" when the overlay left nothing
        const char* warningPart;  // "" when nothing is said
    };
    const Case cases[] = {
        {"bad lines skipped",
         "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion] ; mine\r\n"
         "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
         "\"ProductName\"=\"x\" junk\r\n\"RegisteredOwner\"=\"Mary\"\r\n",
         "Mary", "registry.reg: line 2: a key line must end with ] (line skipped)"},
        {"directory", "", "", "registry.reg: a directory, not a file"},
        {"no header", "just text\r\n", "", "registry.reg: line 1: the first line must be"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hosttest::ScratchPrefix prefix;
        if (c.fileText.empty()) prefix.dir.mkdir("registry.reg");
        else prefix.dir.write("registry.reg", c.fileText);
        ::testing::internal::CaptureStderr();
        RegistryStore store = buildHostRegistry(prefix.context, readMachineFacts(prefix.context.root, ""));
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(warnings.find(c.warningPart), std::string::npos) << warnings;
        HKEY key = 0;
        std::string owner(64, '\0');
        uint32_t type = 0, size = 64;
        ASSERT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ, key), 0);
        store.RegQueryValueExA(key, "RegisteredOwner", type, owner, size);
        if (*c.ownerShown != '\0') {
            EXPECT_STREQ(owner.c_str(), c.ownerShown);
        }
    }
}

}  // namespace
}  // namespace si32
