#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/si32mod/sim_harness.h"

namespace si32::modtest {
namespace {

TEST(GetDefaultPrinter, TriesConfigThenUserKeyThenThePrintingService) {
    struct Case {
        const char* what;
        std::string registry;
        const char* printingDefault;  // nullptr: the service names none
        std::string expected;
    };
    const std::string config = "[HKEY_CURRENT_CONFIG\\System\\CurrentControlSet\\Control\\Print\\Printers]\n";
    const std::string user = "[HKEY_CURRENT_USER\\Printers]\n";
    const std::vector<Case> cases = {
        {"config key names it", config + "\"Default\"=\"Laser\"\n" + user + "\"Default\"=\"Other\"\n", "Svc", "Laser"},
        {"config key missing, user key without Default", user, "Svc", "--Not String--"},
        {"both keys missing", "", "Svc", "Svc"},
        {"blank config value consults the user key",
         config + "\"Default\"=\"   \"\n" + user + "\"Default\"=\" Inkjet \"\n", "Svc", " Inkjet "},
        {"config value of another type", config + "\"Default\"=dword:00000001\n", "Svc", "--Not String--"},
        {"blank user value and no service printer", user + "\"Default\"=\"  \"\n", nullptr, "  "},
        {"nothing anywhere", "", nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        nlohmann::json d = SimHarness::withRegistryText(c.registry);
        if (c.printingDefault) d["printing_default"] = c.printingDefault;
        SimHarness h(d);
        EXPECT_EQ(h.mod.GetDefaultPrinter(), c.expected);
    }
}

TEST(RegistryFacts, OwnerProductAndProcessorComeFromFixedKeys) {
    SimHarness h(SimHarness::withRegistryText(R"([HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion]
"RegisteredOwner"="  Alice  "
"ProductName"=hex(2):41,00
[HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System\CentralProcessor\0]
"Identifier"="x86 Family 6"
)"));
    EXPECT_EQ(h.mod.GetRegisteredOwner(), "  Alice  ");
    EXPECT_EQ(h.mod.GetWindowsProductName(), "--Not String--");
    EXPECT_EQ(h.mod.GetCpuIdentifier(), "x86 Family 6");
}

const std::string kDescriptorRegistry = R"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion]
"ProductName"="Microsoft Windows 98"
"VersionNumber"="4.10.1998"
"CurrentVersion"="wrong line"
"CSDVersion"=" A "
"ProductID"="123"
"RegisteredOwner"="Alice"
"RegisteredOrganization"="Org"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion]
"CurrentVersion"="5.1"
"CurrentBuildNumber"="2600"
"VersionNumber"="wrong line"
"CSDVersion"="Service Pack 2"
[HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System]
"Identifier"="AT/AT COMPATIBLE"
"SystemBiosDate"="01/01/05"
"SystemBiosVersion"=hex(7):42,49,4f,53,31,00,42,49,4f,53,32,00,00
"VideoBiosDate"="02/02/05"
"VideoBiosVersion"="VGA"
[HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System\CentralProcessor\0]
"ProcessorNameString"="Fast CPU"
"VendorIdentifier"="GenuineTarvel"
"Identifier"="x86 Family 6 Model 8"
"~Mhz"=dword:000001f4
)";

TEST(ReadSystemDescriptor, ChoosesTheKeyByFamilyAndFillsBothRecords) {
    struct Case {
        int32_t family;
        const char* version;
        const char* build;
        const char* csd;
    };
    const std::vector<Case> cases = {
        {0, "4.10.1998", "", " A "},
        {1, "4.10.1998", "", " A "},
        {2, "5.1", "2600", "Service Pack 2"},
        {3, "5.1", "2600", "Service Pack 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family);
        SimHarness h(SimHarness::withRegistryText(kDescriptorRegistry));
        h.mod.OsFamily = static_cast<OperatingSystemFamily>(c.family);
        ASSERT_EQ(h.mod.ConnectRegistry(""), 0);
        h.mod.ReadSystemDescriptor();
        const auto& sd = h.mod.SystemDescriptor;
        EXPECT_EQ(sd.Version, c.version);
        EXPECT_EQ(sd.BuildNumber, c.build);
        EXPECT_EQ(sd.CSDVersion, c.csd);
        EXPECT_EQ(sd.ProductName, c.family <= 1 ? "Microsoft Windows 98" : "Microsoft Windows NT");
        EXPECT_EQ(sd.Identifier, "AT/AT COMPATIBLE");
        EXPECT_EQ(sd.SystemBiosVersion, "BIOS1");
        EXPECT_EQ(sd.VideoBiosVersion, "VGA");
        const auto& pd = h.mod.ProcessorDescriptor;
        EXPECT_EQ(pd.ProcessorNameString, "Fast CPU");
        EXPECT_EQ(pd.VendorIdentifier, "GenuineTarvel");
        EXPECT_EQ(pd.Identifier, "x86 Family 6 Model 8");
        EXPECT_EQ(pd.Mhz, "500");
    }
}

TEST(ReadSystemDescriptor, StopsAtAnEmptyIdentifier) {
    std::string registry = kDescriptorRegistry;
    registry.replace(registry.find("\"AT/AT COMPATIBLE\""), 18, "\"\"");
    SimHarness h(SimHarness::withRegistryText(registry));
    h.mod.OsFamily = OperatingSystemFamily::WindowsLine;
    ASSERT_EQ(h.mod.ConnectRegistry(""), 0);
    h.mod.ProcessorDescriptor.Mhz = "earlier";
    h.mod.ReadSystemDescriptor();
    EXPECT_EQ(h.mod.SystemDescriptor.RegisteredOrganization, "Org");
    EXPECT_EQ(h.mod.SystemDescriptor.SystemBiosDate, "");
    EXPECT_EQ(h.mod.SystemDescriptor.VideoBiosVersion, "");
    EXPECT_EQ(h.mod.ProcessorDescriptor.ProcessorNameString, "");
    EXPECT_EQ(h.mod.ProcessorDescriptor.Mhz, "earlier");
}

TEST(ReadSystemDescriptor, ClockConversion) {
    struct Case {
        std::string value;  // the "~Mhz" line's data, or "" for no value
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"dword:000001f4", "500"}, {"dword:00000100", "256"},  {"dword:00000df1", "3569"},
        {"dword:ffffffff", "-1"},  {"dword:00000000", "kept"}, {"", "kept"},
        {"\"not hex\"", "kept"},   {"\"7d0\"", "2000"},        {"hex(4):01,02,03,04,05", "kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::string registry =
            "[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System]\n\"Identifier\"=\"PC\"\n"
            "[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0]\n";
        if (!c.value.empty()) registry += "\"~Mhz\"=" + c.value + "\n";
        SimHarness h(SimHarness::withRegistryText(registry));
        ASSERT_EQ(h.mod.ConnectRegistry(""), 0);
        h.mod.ProcessorDescriptor.Mhz = "kept";
        h.mod.ReadSystemDescriptor();
        EXPECT_EQ(h.mod.ProcessorDescriptor.Mhz, c.expected);
    }
}

TEST(ReadSystemDescriptor, WithoutAConnectionOnlyTheProductNameIsSet) {
    nlohmann::json d = SimHarness::withRegistryText(kDescriptorRegistry);
    d["registry_connect_fails"] = true;
    SimHarness h(d);
    EXPECT_EQ(h.mod.ConnectRegistry(""), 1);
    h.mod.ReadSystemDescriptor();
    EXPECT_EQ(h.mod.SystemDescriptor.ProductName, "Microsoft Windows NT");
    const auto& sd = h.mod.SystemDescriptor;
    EXPECT_EQ(std::tie(sd.Version, sd.BuildNumber, sd.CSDVersion, sd.ProductID, sd.RegisteredOwner,
                       sd.RegisteredOrganization, sd.Identifier, sd.SystemBiosDate),
              std::make_tuple("", "", "", "", "", "", "", ""));
    EXPECT_EQ(h.mod.ProcessorDescriptor.Identifier, "");
    EXPECT_EQ(h.mod.ProcessorDescriptor.Mhz, "");
}

}  // namespace
}  // namespace si32::modtest
