// The live machine's facts read from fixture trees: the registry values, the
// processor description and the INI keys that have no file on Linux.
#include <gtest/gtest.h>

#include <map>

#include "platform/host/common/host_read.h"
#include "platform/host/host_services.h"
#include "platform/host/kernel/host_ini_facts.h"
#include "platform/host/registry/host_cpu.h"
#include "platform/host/registry/host_registry_facts.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

using hosttest::fixture;

constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kSystem = "HARDWARE\\DESCRIPTION\\System";
constexpr const char* kProcessor = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr const char* kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// "key|name" -> the value as text (a DWORD in decimal).
std::map<std::string, std::string> registryOf(const LiveRegistrySources& sources) {
    std::map<std::string, std::string> values;
    for (const LiveRegistryValue& value : liveRegistryValues(sources)) {
        const std::string id = value.key + "|" + value.name;
        EXPECT_EQ(values.count(id), 0u) << "set twice: " << id;
        values[id] = value.type == 4 ? "dword:" + std::to_string(value.dword) : value.text;
    }
    return values;
}

std::string id(const char* key, const char* name) { return std::string(key) + "|" + name; }

TEST(LiveRegistry, PcWithFirmwareTables) {
    const auto values = registryOf({fixture("x86"), "x86_64", "6.1.0-18-amd64", 1000, "/nonexistent:/usr/bin"});
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
    const auto values = registryOf({fixture("arm"), "aarch64", "6.6.31+rpt-rpi-v8", 1000, "/usr/bin"});
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
        const auto values = registryOf({fixture("empty"), machine, "", 1000, ""});
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
        {"arm", "aarch64", "ARM Limited", "Cortex-A72", "ARMv8 (64-bit) Family 8 Model D08 Revision 3", 8, 3, 1500},
        {"arm32", "armv7l", "ARM Limited", "Cortex-A7", "ARMv7 (32-bit) Family 7 Model C07 Revision 5", 7, 5,
         std::nullopt},
        {"empty", "x86_64", "", "", "", 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::string cpuinfo = readUnderRoot(fixture(c.tree), "/proc/cpuinfo").value_or("");
        const CpuDescription cpu = describeCpu(cpuinfo, c.machine, fixture(c.tree));
        EXPECT_EQ(cpu.vendorIdentifier, c.vendor) << c.tree;
        EXPECT_EQ(cpu.processorNameString, c.name) << c.tree;
        EXPECT_EQ(cpu.identifier, c.identifier) << c.tree;
        EXPECT_EQ(cpu.level, c.level) << c.tree;
        EXPECT_EQ(cpu.revision, c.revision) << c.tree;
        EXPECT_EQ(nominalMhz(fixture(c.tree), cpu), c.mhz) << c.tree;
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
        {"x86", "system.ini", "boot.description", "keyboard.typ",
         "Generic 105-key PC, English (US, intl., with dead keys), German"},
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
        EXPECT_EQ(liveIniValue(fixture(c.tree), c.file, c.section, c.key), c.value) << c.tree << " " << c.key;
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
    hosttest::ScratchDir root;
    root.write("etc/vconsole.conf", "KEYMAP=de\nXKBLAYOUT=de\nXKBMODEL=pc105\nXKBVARIANT=nodeadkeys\n");
    EXPECT_EQ(keyboardDescription(root.path()), "pc105, de (nodeadkeys)");
}

TEST(LiveIni, CountryOfTheLocale) {
    {
        hosttest::ScopedEnv all("LC_ALL", "C");
        EXPECT_EQ(localeCountryName(), std::nullopt);
    }
    if (!hosttest::localeInstalled("de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    hosttest::ScopedEnv all("LC_ALL", std::nullopt);
    hosttest::ScopedEnv address("LC_ADDRESS", "de_DE.UTF-8");
    EXPECT_EQ(localeCountryName(), "Deutschland");
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
        RegistryStore store = buildHostRegistry(prefix.context);
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
