// si32-report as a user runs it in a terminal, on a machine whose names hold
// escape sequences and line breaks: neither standard output nor standard
// error passes a control character on, and --json keeps every text exact.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/run_report.h"
#include "tests/support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using si32::testsupport::runReport;

// Bytes a terminal acts on: C0 controls but the line breaks, DEL, C1
// controls (raw or as UTF-8).
bool hasControl(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F || (c >= 0x80 && c < 0xA0 && (i == 0 || text[i - 1] != '\xc2')))
            return true;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) return true;
    }
    return false;
}

const std::string kClipboard = "\x1b]52;c;cm0gLXJmIH4=\x07";

const json kHostileMachine = {
    {"version", {{"platform_id", 2}, {"major", 5}, {"minor", 1}, {"build", 2600}}},
    {"computer_name", kClipboard + "PC"},
    {"user_name", "al\n  Owner: root"},
    {"directories",
     {{"windows", "C:\\WINDOWS"},
      {"system", "C:\\WINDOWS\\SYSTEM32"},
      {"temp",
       "C:\\T\xc2\x9b"
       "2J\\"}}},
    {"registry",
     "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n"
     "\"RegisteredOwner\"=\"\x1b[2J\x1b[HOwner\"\r\n"},
    {"drives", json::array({{{"letter", "C"}, {"type", 3}, {"label", "\x1b[5mBLINK"}}})},
};

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        std::ofstream(dir / "hostile.json") << kHostileMachine.dump();
        std::ofstream(dir / "bad.json") << json{{"\x1b[2Jcomputer_name", "X"}}.dump();
    }
    std::vector<std::string> env(const std::string& machine) const {
        std::vector<std::string> out = si32::testsupport::environmentWithout({"SI32_MACHINE"});
        out.push_back("SI32_MACHINE=" + (dir / machine).string());
        return out;
    }
    si32::testsupport::ScratchDir dir{"si32-terminal"};
};

TEST_F(ReportCommand, NoOutputPassesAControlCharacterOn) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* machine;
        int status;
        std::string out;  // what standard output holds
        std::string err;  // what the one line on standard error holds
    } cases[] = {
        {"the report", {}, "hostile.json", 0, "\\e]52;c;cm0gLXJmIH4=\\aPC", ""},
        {"a forged line", {}, "hostile.json", 0, "al\\n  Owner: root", ""},
        {"the owner", {}, "hostile.json", 0, "\\e[2J\\e[HOwner", ""},
        {"a C1 control", {}, "hostile.json", 0, "C:\\T\\xc2\\x9b2J\\", ""},
        {"the drive list", {"--list-drives"}, "hostile.json", 0, "c: [\\e[5mBLINK]", ""},
        {"the help", {"--help"}, "hostile.json", 0, "--list-drives", ""},
        {"a description error", {}, "bad.json", 2, "", "\\e[2Jcomputer_name: unknown member"},
        {"a drive the list lacks", {"--drive", "\x1b[2J"}, "hostile.json", 2, "", "no drive \\e[2J"},
        {"an unknown option", {"--\x1b]0;x\x07"}, "hostile.json", 2, "", "'--\\e]0;x\\a'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto run = runReport(c.args, env(c.machine));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_FALSE(hasControl(run.out));
        EXPECT_FALSE(hasControl(run.err));
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        if (!c.err.empty()) {
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
}

TEST_F(ReportCommand, JsonKeepsEveryTextExact) {
    const auto run = runReport({"--json"}, env("hostile.json"));
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["controls"]["Label2(3)"]["text"], kHostileMachine["computer_name"]);
    EXPECT_EQ(report["controls"]["Label2(4)"]["text"], kHostileMachine["user_name"]);
    EXPECT_EQ(report["controls"]["Drive1"]["drive"], "c: [\x1b[5mBLINK]");
}

}  // namespace
