// Start-up on small machines that each differ in one fact: the cases of the
// identification, memory and meter steps that the demo machines leave out.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "app/session.h"
#include "app/startup.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"

namespace si32 {
namespace {

// A 95-line machine with its product folder; cases add or replace members.
nlohmann::json baseMachine() {
    return nlohmann::json::parse(R"({
      "version": { "platform_id": 1, "major": 4, "minor": 0, "build": 67109814 },
      "directories": { "windows": "C:\\WINDOWS", "system": "C:\\WINDOWS\\SYSTEM", "temp": "C:\\TEMP\\" },
      "memory": { "load": 37, "total_physical": 134217728 },
      "files": {
        "C:\\WINDOWS\\SYSTEM\\TRVWIN.INI": { "text": "\"C:\\TARVELLO\",\"C:\"\r\n" },
        "C:\\TARVELLO\\tarvello.exe": { "modified": "2005-12-07T14:10:00" }
      },
      "programs": { "reschk.exe": { "writes": { "res.tmp": "85,55\r\n" } } },
      "drives": [ { "letter": "C", "type": 3 } ]
    })");
}

struct StartedMachine {
    explicit StartedMachine(const nlohmann::json& description)
        : text(description.dump()),
          machine(SimMachine::Text{text, "case.json", "."}, frontend),
          session(machine.platform()) {
        Form_Load(session);
    }
    const Control& operator[](const std::string& key) {
        const auto open = key.find('(');
        if (open == std::string::npos) return session.form.control(key);
        return session.form.control(key.substr(0, open), std::stoi(key.substr(open + 1)));
    }
    std::string text;
    testsupport::RecordingFrontend frontend;
    SimMachine machine;
    Session session;
};

struct Case {
    const char* name;
    nlohmann::json patch;  // merged into the base machine
    int osFamily;
    std::map<std::string, std::string> texts;
    std::map<std::string, bool> visible = {};
    std::map<std::string, int> percents = {};
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class StartupStepsTest : public ::testing::TestWithParam<Case> {};

TEST_P(StartupStepsTest, FieldsAsTheStepsLeaveThem) {
    const Case& c = GetParam();
    auto description = baseMachine();
    description.merge_patch(c.patch);
    StartedMachine run(description);
    EXPECT_EQ(static_cast<int>(run.session.mod.OsFamily), c.osFamily);
    for (const auto& [key, text] : c.texts) EXPECT_EQ(run[key].text, text) << key;
    for (const auto& [key, visible] : c.visible) EXPECT_EQ(run[key].visible, visible) << key;
    for (const auto& [key, percent] : c.percents) EXPECT_EQ(run[key].percent, percent) << key;
}

using J = nlohmann::json;

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupStepsTest,
    ::testing::Values(Case{"version_10_named_xp_family_2",
                           J::parse(R"({"version": {"platform_id": 2, "major": 10, "minor": 0, "build": 19045}})"),
                           2,
                           {{"Label2(0)", "Microsoft Windows XP"},
                            {"Label2(1)", "10.00"},
                            {"Label2(2)", "19045"},
                            {"Label2(14)", ""}}},
                      Case{"windows_98_prerelease_build",
                           J::parse(R"({"version": {"platform_id": 1, "major": 4, "minor": 10, "build": 67766214}})"),
                           3,
                           {{"Label2(0)", "Microsoft Windows 98"}, {"Label2(2)", "1990"}}},
                      // 2222 is the first build of the second edition.
                      Case{"last_build_before_the_second_edition",
                           J::parse(R"({"version": {"platform_id": 1, "major": 4, "minor": 10, "build": 67766445}})"),
                           3,
                           {{"Label2(0)", "Microsoft Windows 98"}, {"Label2(2)", "2221"}}},
                      Case{"second_edition_from_its_first_build",
                           J::parse(R"({"version": {"platform_id": 1, "major": 4, "minor": 10, "build": 67766446}})"),
                           3,
                           {{"Label2(0)", "Microsoft Windows 98, 2nd Edition"}, {"Label2(2)", "2222"}}},
                      Case{"win32s_on_windows_3x",
                           J::parse(R"({"version": {"platform_id": 0, "major": 3, "minor": 10, "build": 172}})"),
                           0,
                           {{"Label2(0)", "Win32s Subsystem on Windows 3.x"},
                            {"Label2(1)", "3.10"},
                            {"Label2(2)", "172"},
                            {"Label2(14)", "6.22"}}},
                      Case{"build_field_with_top_bit_keeps_its_sign",
                           J::parse(R"({"version": {"platform_id": 1, "major": 4, "minor": 10, "build": 3221225473}})"),
                           1,
                           {{"Label2(0)", "Microsoft Windows 95"}, {"Label2(2)", "-65535"}}},
                      Case{"unknown_platform_named_by_the_registry",
                           J::parse(R"({"version": {"platform_id": 3, "major": 6, "minor": 1, "build": 7},
                          "registry": "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n\"ProductName\"=\"  Debian GNU/Linux 12  \"\n"})"),
                           0,
                           {{"Label2(0)", "Debian GNU/Linux 12"}, {"Label2(1)", "6.01"}}},
                      Case{"unknown_platform_without_a_name",
                           J::parse(R"({"version": {"platform_id": 7, "major": 5, "minor": 0, "build": 1}})"),
                           0,
                           {{"Label2(0)", ""}, {"Label2(14)", ""}}},
                      Case{"windows_on_itanium_is_an_x86_based_pc",
                           J::parse(R"({"version": {"platform_id": 2, "major": 5, "minor": 2, "build": 3790},
                          "processor": {"count": 2, "type": 2200}})"),
                           3,
                           {{"Label2(22)", "X86-based PC"}, {"Label2(14)", ""}}},
                      Case{"nt4_on_dos_7",
                           J::parse(R"({"version": {"platform_id": 2, "major": 4, "minor": 0, "build": 1381}})"),
                           2,
                           {{"Label2(22)", "X86-based PC"}, {"Label2(14)", "7.00"}}},
                      Case{"win32s_on_dos_6",
                           J::parse(R"({"version": {"platform_id": 0, "major": 3, "minor": 10, "build": 0}})"),
                           0,
                           {{"Label2(14)", "6.22"}}},
                      // The Linux host: a kernel of the 3 and 4 series had DOS
                      // versions shown, and every machine was a PC.
                      Case{"linux_host_without_dos_names_its_architecture",
                           J::parse(R"({"version": {"platform_id": 4, "major": 4, "minor": 19, "build": 0},
                          "processor": {"count": 4, "type": 2200}})"),
                           0,
                           {{"Label2(22)", "Itanium-based PC"}, {"Label2(14)", ""}, {"Label2(9)", "4"}}},
                      Case{"linux_host_on_a_pc",
                           J::parse(R"({"version": {"platform_id": 4, "major": 3, "minor": 10, "build": 0},
                          "processor": {"count": 4, "type": 8664}})"),
                           0,
                           {{"Label2(22)", "X86-based PC"}, {"Label2(14)", ""}}},
                      Case{"linux_host_whose_processor_cannot_be_read",
                           J::parse(R"({"version": {"platform_id": 4, "major": 6, "minor": 1, "build": 0},
                          "failing_calls": ["GetSystemInfo"]})"),
                           0,
                           {{"Label2(22)", ""}}},
                      Case{"failed_version_query",
                           J::parse(R"({"version": null})"),
                           0,
                           {{"Label2(0)", ""}, {"Label2(1)", "0.00"}, {"Label2(2)", "0"}, {"Label2(14)", ""}},
                           {{"ProgressBar3", false}}},
                      Case{"memory_past_32_bits",
                           J::parse(R"({"memory": {"load": 10, "total_physical": 25769803776}})"),
                           1,
                           {{"Label2(27)", "25,165,824  KB"}, {"Label3(2)", "(24,576. MB)"}},
                           {},
                           {{"ProgressBar3", 90}}},
                      Case{"classic_record_when_the_extended_fails",
                           J::parse(R"({"failing_calls": ["GlobalMemoryStatusEx"]})"),
                           1,
                           {{"Label2(27)", "131,072  KB"}, {"Label3(2)", "(128. MB)"}},
                           {},
                           {{"ProgressBar3", 63}}},
                      Case{"no_memory_status_leaves_the_rows_blank",
                           J::parse(R"({"failing_calls": ["GlobalMemoryStatusEx", "GlobalMemoryStatus"]})"),
                           1,
                           {{"Label2(27)", ""}, {"Label3(2)", ""}},
                           {{"Label9", false}, {"ProgressBar3", false}}},
                      Case{"percentages_passed_unclamped",
                           J::parse(R"({"programs": {"reschk.exe": {"writes": {"res.tmp": "-5,300\r\n"}}}})"),
                           1,
                           {},
                           {{"Label4", false}, {"ProgressBar1", false}, {"Label5", true}, {"ProgressBar2", true}},
                           {{"ProgressBar1", -5}, {"ProgressBar2", 300}}},
                      Case{"stale_res_tmp_read_when_reschk_cannot_start",
                           J::parse(R"({"programs": {"reschk.exe": {"fails_to_start": true}},
                          "files": {"C:\\TARVELLO\\res.tmp": {"text": "40 30"}}})"),
                           1,
                           {},
                           {{"ProgressBar1", true}, {"ProgressBar2", true}},
                           {{"ProgressBar1", 40}, {"ProgressBar2", 30}}},
                      Case{"nt_line_hides_the_meters_and_starts_nothing",
                           J::parse(R"({"version": {"platform_id": 2, "major": 4, "minor": 0, "build": 1381}})"),
                           2,
                           {},
                           {{"Label9", false},
                            {"Label4", false},
                            {"Label5", false},
                            {"ProgressBar1", false},
                            {"ProgressBar2", false},
                            {"ProgressBar3", false}}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(MeterSteps, ResTmpIsDeletedAndNothingIsStartedOffThe95Line) {
    auto description = baseMachine();
    description["files"]["C:\\TARVELLO\\res.tmp"] = {{"text", "1,2"}};
    {
        StartedMachine run(description);
        EXPECT_EQ(run.machine.started(), std::vector<std::string>{"reschk.exe"});
        EXPECT_FALSE(run.machine.platform().files.Dir("C:\\TARVELLO\\res.tmp").size() > 0);
    }
    description["version"] = {{"platform_id", 2}, {"major", 5}, {"minor", 1}, {"build", 2600}};
    StartedMachine nt(description);
    EXPECT_TRUE(nt.machine.started().empty());
    EXPECT_EQ(nt.machine.platform().files.Dir("C:\\TARVELLO\\res.tmp"), "res.tmp");
}

}  // namespace
}  // namespace si32
