// Every demo machine started up in full over the simulated backend, its
// report compared with an expectation written by hand for that machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "tests/support/source_dir.h"

namespace si32 {
namespace {

namespace fs = std::filesystem;

fs::path sourceDir() { return testsupport::sourceDir(); }

// One machine per operating system the applet tells apart. Listed here, not
// read from the folder, so the test names exist before a test runs.
const std::vector<std::string> kMachines = {
    "win31-win32s", "win95",   "win95-osr2", "win98",      "win98se", "winme",      "nt351",
    "nt40",         "win2000", "winxp",      "server2003", "vista",   "longvalues",
};

std::vector<std::string> stemsIn(const fs::path& folder) {
    std::vector<std::string> stems;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".json") stems.push_back(entry.path().stem().string());
    std::sort(stems.begin(), stems.end());
    return stems;
}

struct MachineRun {
    explicit MachineRun(const std::string& name)
        : machine((sourceDir() / "machines" / (name + ".json")).string(), frontend), session(machine.platform()) {
        Form_Load(session);
        Form_Activate(session);
        report = ReportJson(session, {machine.started(), frontend.prompts()});
    }

    testsupport::RecordingFrontend frontend;
    SimMachine machine;
    Session session;
    nlohmann::ordered_json report;
};

class MachineReportTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MachineReportTest, ReportMatchesTheExpectation) {
    std::ifstream in(sourceDir() / "tests/facts/expected" / (GetParam() + ".json"));
    ASSERT_TRUE(in) << "no expected report for machine " << GetParam();
    const auto expected = nlohmann::json::parse(in);
    MachineRun run(GetParam());

    EXPECT_EQ(run.report["os_family"], expected["os_family"]);
    EXPECT_EQ(run.report["started"], expected["started"]);
    EXPECT_EQ(run.report["messages"], expected["messages"]);
    EXPECT_EQ(run.machine.platform().files.CurDir(), expected["current_directory"].get<std::string>());
    for (const auto& [key, properties] : expected["controls"].items()) {
        ASSERT_TRUE(run.report["controls"].contains(key)) << key;
        const auto& actual = run.report["controls"][key];
        for (const auto& [property, value] : properties.items()) {
            // The report leaves out a tooltip that is not set.
            const auto shown = actual.contains(property) ? nlohmann::json(actual[property]) : nlohmann::json("");
            EXPECT_EQ(shown, value) << key << "." << property;
        }
    }
}

// The "fields" object read against the controls it is made from: every
// shown caption keys its frame's row, hidden ones are left out, a size's two
// fields are joined, and the text report prints the same rows.
TEST_P(MachineReportTest, FieldsAreTheRowsAsTheWindowShowsThem) {
    MachineRun run(GetParam());
    const auto& fields = run.report["fields"];
    const auto& form = run.session.form;
    const std::string text = ReportText(run.session, {});
    for (const char* frame : {"SSFrame1", "SSFrame2", "SSFrame3"})
        ASSERT_TRUE(fields.contains(form.control(frame).text)) << frame;
    std::vector<std::string> shownCaptions;
    for (const Control& c : form.controls())
        if (c.name == "Label1" && c.visible) shownCaptions.push_back(c.text);
    for (const Control& c : form.controls()) {
        if (c.name != "Label1") continue;
        const auto& rows = fields[form.control(c.container).text];
        const bool shownElsewhere = std::count(shownCaptions.begin(), shownCaptions.end(), c.text) > 0;
        EXPECT_EQ(rows.contains(c.text), c.visible || shownElsewhere) << c.key() << " " << c.text;
        if (!rows.contains(c.text)) continue;
        const std::string value = rows[c.text];
        // The text report drops the blanks a line ends in; they show nothing.
        std::string firstLine = value.substr(0, value.find('\n'));
        while (!firstLine.empty() && firstLine.back() == ' ') firstLine.pop_back();
        EXPECT_NE(text.find(c.text), std::string::npos) << c.text;
        if (!firstLine.empty()) {
            EXPECT_NE(text.find(firstLine), std::string::npos) << c.text << " " << firstLine;
        }
    }
    const auto& hardware = fields[form.control("SSFrame2").text];
    const Control& memoryCaption = form.control("Label1", 25);
    const std::string& memory = form.control("Label2", 27).text;
    if (memoryCaption.visible && !memory.empty()) {
        EXPECT_EQ(hardware[memoryCaption.text], memory + " " + form.control("Label3", 2).text);
    }
    EXPECT_EQ(fields[form.control("SSFrame3").text]["Drive:"], form.control("Drive1").text);
    EXPECT_EQ(run.report["schema_version"], kReportSchemaVersion);
}

TEST_P(MachineReportTest, ResTmpIsGoneAfterStartUp) {
    MachineRun run(GetParam());
    for (const auto& file : run.machine.fileSystem())
        EXPECT_EQ(file.path.find("res.tmp"), std::string::npos) << file.path;
}

INSTANTIATE_TEST_SUITE_P(Machines, MachineReportTest, ::testing::ValuesIn(kMachines),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(MachineSet, EveryMachineHasAnExpectationAndNoOtherFilesStandBy) {
    auto listed = kMachines;
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(stemsIn(sourceDir() / "machines"), listed);
    EXPECT_EQ(stemsIn(sourceDir() / "tests/facts/expected"), listed);
}

}  // namespace
}  // namespace si32
