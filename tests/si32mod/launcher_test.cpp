#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/si32mod/sim_harness.h"

namespace si32::modtest {
namespace {

const std::string kUsual = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSINFO\\msinfo32.exe";
const std::string kUnavailable = "System Information Is Unavailable At This Time";

struct Scene {
    bool usualPresent = false;
    bool usualHidden = false;
    std::string pathEntry = {};    // the "PATH" value's data in .reg form, "" for none
    std::string folderEntry = {};  // the "MSINFO" folder, "" for none
    std::vector<std::string> programs = {};
    std::vector<std::string> files = {};
    std::vector<std::string> readOnlyKeys = {};
};

std::string regQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

nlohmann::json describe(const Scene& s) {
    std::string registry;
    if (!s.pathEntry.empty())
        registry += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n\"PATH\"=" + s.pathEntry + "\n";
    if (!s.folderEntry.empty())
        registry +=
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n\"MSINFO\"=" + regQuoted(s.folderEntry) +
            "\n";
    nlohmann::json d = SimHarness::withRegistryText(registry);
    d["files"] = nlohmann::json::object();
    d["programs"] = nlohmann::json::object();
    if (s.usualPresent) {
        d["files"][kUsual] = nlohmann::json::object();
        if (s.usualHidden) d["files"][kUsual]["attributes"] = {"hidden"};
        d["programs"][kUsual] = nlohmann::json::object();
    }
    for (const auto& f : s.files) d["files"][f] = nlohmann::json::object();
    for (const auto& p : s.programs) d["programs"][p] = nlohmann::json::object();
    if (!s.readOnlyKeys.empty()) d["registry_read_only_keys"] = s.readOnlyKeys;
    return d;
}

TEST(Command2Click, TriesTheThreePlacesInOrder) {
    struct Case {
        const char* what;
        Scene scene;
        std::vector<std::string> started;
        bool message;
        std::vector<std::string> valuesRead;
    };
    const std::vector<Case> cases = {
        {"tool at its usual place",
         {.usualPresent = true, .pathEntry = R"("C:\\Other\\msinfo32.exe")", .folderEntry = "C:\\Tools"},
         {kUsual},
         false,
         {}},
        {"hidden file at the usual place is not taken",
         {.usualPresent = true,
          .usualHidden = true,
          .pathEntry = R"("C:\\Other\\msinfo32.exe")",
          .programs = {"C:\\Other\\msinfo32.exe"}},
         {"C:\\Other\\msinfo32.exe"},
         false,
         {"PATH"}},
        {"first entry names a missing file: message, second entry not read",
         {.pathEntry = R"("C:\\Gone\\msinfo32.exe")",
          .folderEntry = "C:\\Tools",
          .programs = {"C:\\Tools\\MSINFO32.EXE"},
          .files = {"C:\\Tools\\MSINFO32.EXE"}},
         {},
         true,
         {"PATH"}},
        {"second entry's folder holds the tool",
         {.folderEntry = "C:\\Tools", .programs = {"C:\\Tools\\MSINFO32.EXE"}, .files = {"C:\\Tools\\MSINFO32.EXE"}},
         {"C:\\Tools\\MSINFO32.EXE"},
         false,
         {"MSINFO"}},
        {"second entry's folder without the tool",
         {.folderEntry = "C:\\Tools", .programs = {"C:\\Tools\\MSINFO32.EXE"}},
         {},
         true,
         {"MSINFO"}},
        {"neither entry", {}, {}, true, {}},
        {"empty first entry counts as found and fails to start",
         {.pathEntry = R"("")",
          .folderEntry = "C:\\Tools",
          .programs = {"C:\\Tools\\MSINFO32.EXE"},
          .files = {"C:\\Tools\\MSINFO32.EXE"}},
         {},
         true,
         {"PATH"}},
        {"binary first entry counts as found and fails to start",
         {.pathEntry = "hex:41,42", .folderEntry = "C:\\Tools", .files = {"C:\\Tools\\MSINFO32.EXE"}},
         {},
         true,
         {"PATH"}},
        {"a command line in the entry is one program path",
         {.pathEntry = R"("x; rm -rf ~")", .programs = {"x", "rm"}},
         {},
         true,
         {"PATH"}},
        {"first key refusing wide access falls through to the second",
         {.pathEntry = R"("C:\\Other\\msinfo32.exe")",
          .folderEntry = "C:\\Tools",
          .programs = {"C:\\Other\\msinfo32.exe", "C:\\Tools\\MSINFO32.EXE"},
          .files = {"C:\\Tools\\MSINFO32.EXE"},
          .readOnlyKeys = {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"}},
         {"C:\\Tools\\MSINFO32.EXE"},
         false,
         {"MSINFO"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimHarness h(describe(c.scene));
        h.mod.Command2_Click();
        EXPECT_EQ(h.started(), c.started);
        EXPECT_EQ(h.registry.queries, c.valuesRead);
        if (c.message) {
            ASSERT_EQ(h.frontend.messages.size(), 1u);
            EXPECT_EQ(h.frontend.messages[0].prompt, kUnavailable);
            EXPECT_EQ(h.frontend.messages[0].style, 0);
            EXPECT_EQ(h.frontend.messages[0].title, "");
        } else {
            EXPECT_TRUE(h.frontend.messages.empty());
        }
    }
}

TEST(Command2Click, EveryClickStartsAnotherCopy) {
    SimHarness h(describe({.usualPresent = true}));
    h.mod.Command2_Click();
    h.mod.Command2_Click();
    EXPECT_EQ(h.started(), (std::vector<std::string>{kUsual, kUsual}));
}

TEST(Command2Click, AUsualToolThatFailsToStartEndsSilently) {
    nlohmann::json d = describe({.usualPresent = true, .folderEntry = "C:\\Tools"});
    d["programs"][kUsual]["fails_to_start"] = true;
    SimHarness h(d);
    h.mod.Command2_Click();
    EXPECT_TRUE(h.started().empty());
    EXPECT_TRUE(h.frontend.messages.empty());
    EXPECT_TRUE(h.registry.queries.empty());
}

TEST(LaunchMsInfo, AFailingLookupLeadsToTheMessage) {
    nlohmann::json d = describe(
        {.folderEntry = "C:\\Tools", .programs = {"C:\\Tools\\MSINFO32.EXE"}, .files = {"C:\\Tools\\MSINFO32.EXE"}});
    d["failing_calls"] = {"Dir"};
    SimHarness h(d);
    h.mod.LaunchMsInfo();
    EXPECT_TRUE(h.started().empty());
    ASSERT_EQ(h.frontend.messages.size(), 1u);
    EXPECT_EQ(h.frontend.messages[0].prompt, kUnavailable);
}

}  // namespace
}  // namespace si32::modtest
