#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/si32mod/sim_harness.h"

namespace si32::modtest {
namespace {

const std::string kRegistry = R"([HKEY_LOCAL_MACHINE\Soft\K]
"Sz"="Hello"
"Padded"="  x  "
"Empty"=""
"Expand"=hex(2):25,77,69,6e,64,69,72,25,00
"Dword500"=dword:000001f4
"Dword256"=dword:00000100
"Dword15"=dword:0000000f
"Dword0"=dword:00000000
"DwordBig"=dword:80000001
"DwordMid"=dword:00000105
"Multi"=hex(7):6f,6e,65,00,74,77,6f,00,00
"Binary"=hex:01,02
"NoNul"=hex(1):61,62
)";

std::string longString(std::size_t n) { return "\"S" + std::to_string(n) + "\"=\"" + std::string(n, 'a') + "\"\n"; }

std::unique_ptr<SimHarness> connected() {
    auto h = std::make_unique<SimHarness>(SimHarness::withRegistryText(kRegistry + longString(255) + longString(256) +
                                                                       longString(1023) + longString(1024)));
    EXPECT_EQ(h->mod.ConnectRegistry("OFFICE-PC"), 0);
    return h;
}

TEST(GetRegString, AnswersTextOnlyForStringsThatFit) {
    struct Case {
        const char* path;
        const char* name;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Soft\\K", "Sz", "Hello"},
        {"SOFT\\k", "sz", "Hello"},
        {"Soft\\K", "Padded", "  x  "},
        {"Soft\\K", "Empty", ""},
        {"Soft\\K", "S255", std::string(255, 'a')},
        {"Soft\\K", "S256", "--Not String--"},
        {"Soft\\K", "Expand", "--Not String--"},
        {"Soft\\K", "Dword500", "--Not String--"},
        {"Soft\\K", "Multi", "--Not String--"},
        {"Soft\\K", "Missing", "--Not String--"},
        {"Soft\\Missing", "Sz", ""},
        {"Soft\\K", "NoNul", "ab"},
    };
    auto owner = connected();
    SimHarness& h = *owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.name);
        EXPECT_EQ(h.mod.GetRegString(HKEY_LOCAL_MACHINE, c.path, c.name), c.expected);
    }
}

TEST(ReadRegValue, TurnsStringsListsAndNumbersIntoText) {
    struct Case {
        const char* name;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Sz", "Hello"},  {"Multi", "one"}, {"Dword500", "1F4"},      {"Dword256", "100"},
        {"Dword15", "F"}, {"Dword0", ""},   {"DwordBig", "80000001"}, {"DwordMid", "105"},
        {"Expand", ""},   {"Binary", ""},   {"Missing", ""},          {"S1023", std::string(1023, 'a')},
        {"S1024", ""},
    };
    auto owner = connected();
    SimHarness& h = *owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(h.mod.ReadRegValue("Soft\\K", c.name), c.expected);
    }
    EXPECT_EQ(h.mod.ReadRegValue("Soft\\Missing", "Sz"), "");
}

TEST(ReadRegValue, AnswersEmptyTextWithoutAConnection) {
    SimHarness h(SimHarness::withRegistryText(kRegistry));
    EXPECT_EQ(h.mod.ReadRegValue("Soft\\K", "Sz"), "") << "before ConnectRegistry";

    nlohmann::json failing = SimHarness::withRegistryText(kRegistry);
    failing["registry_connect_fails"] = true;
    SimHarness f(failing);
    EXPECT_EQ(f.mod.ConnectRegistry(""), 1);
    EXPECT_EQ(f.mod.RegistryRoot, 0u);
    EXPECT_EQ(f.mod.ReadRegValue("Soft\\K", "Sz"), "");
    EXPECT_EQ(f.mod.ReadRegValue("Soft\\K", "Dword500"), "");
}

TEST(QueryRegValue, FoundValuesAndFailures) {
    struct Case {
        const char* path;
        const char* name;
        bool found;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Soft\\K", "Sz", true, "Hello"},
        {"Soft\\K", "Empty", true, ""},
        {"Soft\\K", "S1023", true, std::string(1023, 'a')},
        {"Soft\\K", "NoNul", true, "ab"},
        // No caller reads a number this way; it arrives as its decimal text.
        {"Soft\\K", "Dword500", true, "500"},
        {"Soft\\K", "DwordMid", true, "261"},
        {"Soft\\K", "DwordBig", true, "2147483649"},
        {"Soft\\K", "Binary", true, "caller's"},
        {"Soft\\K", "Expand", true, "caller's"},
        {"Soft\\K", "Missing", false, ""},
        {"Soft\\K", "S1024", false, ""},
        {"Soft\\Missing", "Sz", false, ""},
    };
    auto owner = connected();
    SimHarness& h = *owner;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.name);
        std::string value = "caller's";
        EXPECT_EQ(h.mod.QueryRegValue(HKEY_LOCAL_MACHINE, c.path, c.name, value), c.found);
        EXPECT_EQ(value, c.expected);
    }
}

TEST(RegistryReaders, PassTheirOwnMasksAndBufferSizesAndCloseEveryKey) {
    auto owner = connected();
    SimHarness& h = *owner;
    std::string value;
    h.mod.GetRegString(HKEY_CURRENT_USER, "Soft\\K", "Sz");
    h.mod.GetRegString(HKEY_LOCAL_MACHINE, "Soft\\K", "Sz");
    h.mod.ReadRegValue("Soft\\K", "Sz");
    h.mod.QueryRegValue(HKEY_LOCAL_MACHINE, "Soft\\K", "Sz", value);
    h.mod.QueryRegValue(HKEY_LOCAL_MACHINE, "Soft\\K", "Missing", value);
    ASSERT_EQ(h.registry.opens.size(), 5u);
    EXPECT_EQ(h.registry.opens[0].root, HKEY_CURRENT_USER);
    EXPECT_EQ(h.registry.opens[0].access, 0x000F0063u);
    EXPECT_EQ(h.registry.opens[1].access, 0x000F0063u);
    EXPECT_EQ(h.registry.opens[2].root, h.mod.RegistryRoot);
    EXPECT_EQ(h.registry.opens[2].access, 0x00020019u);
    EXPECT_EQ(h.registry.opens[3].access, 0x0002003Fu);
    EXPECT_EQ(h.registry.bufferSizes, (std::vector<uint32_t>{256, 1024, 1024, 1024}));
    EXPECT_EQ(h.registry.closes, 4) << "the key that did not open is not closed";
}

TEST(RegistryReaders, AReadOnlyKeyFailsTheWideReadersOnly) {
    nlohmann::json d = SimHarness::withRegistryText(kRegistry);
    d["registry_read_only_keys"] = {"HKEY_LOCAL_MACHINE\\Soft\\K"};
    SimHarness h(d);
    ASSERT_EQ(h.mod.ConnectRegistry(""), 0);
    std::string value = "x";
    EXPECT_EQ(h.mod.GetRegString(HKEY_LOCAL_MACHINE, "Soft\\K", "Sz"), "");
    EXPECT_FALSE(h.mod.QueryRegValue(HKEY_LOCAL_MACHINE, "Soft\\K", "Sz", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(h.mod.ReadRegValue("Soft\\K", "Sz"), "Hello");
}

TEST(RegistryReaders, FailingCallsGiveEachReadersFailureText) {
    struct Case {
        const char* call;
        std::string getRegString, readRegValue;
        bool queryFound;
    };
    const std::vector<Case> cases = {
        {"RegOpenKeyExA", "", "", false},
        {"RegQueryValueExA", "--Not String--", "", false},
        {"RegCloseKey", "Hello", "Hello", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        nlohmann::json d = SimHarness::withRegistryText(kRegistry);
        d["failing_calls"] = {c.call};
        SimHarness h(d);
        ASSERT_EQ(h.mod.ConnectRegistry(""), 0);
        EXPECT_EQ(h.mod.GetRegString(HKEY_LOCAL_MACHINE, "Soft\\K", "Sz"), c.getRegString);
        EXPECT_EQ(h.mod.ReadRegValue("Soft\\K", "Sz"), c.readRegValue);
        std::string value = "x";
        EXPECT_EQ(h.mod.QueryRegValue(HKEY_LOCAL_MACHINE, "Soft\\K", "Sz", value), c.queryFound);
    }
}

}  // namespace
}  // namespace si32::modtest
