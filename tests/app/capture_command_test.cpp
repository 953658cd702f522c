// si32-report --capture as a user runs it: an anonymous capture gives away
// no name, label or serial of the machine, and a capture that cannot be
// written says so in one line and leaves nothing behind.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/capture.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "tests/support/run_report.h"
#include "tests/support/source_dir.h"

extern char** environ;

namespace si32 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using testsupport::runReport;

std::vector<std::string> ownEnvironment() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!std::string(*e).starts_with("SI32_MACHINE=")) env.emplace_back(*e);
    return env;
}

std::vector<std::string> withMachine(const std::string& machine) {
    std::vector<std::string> env = ownEnvironment();
    env.push_back("SI32_MACHINE=" + machine);
    return env;
}

// Whole-word occurrences, as a reader of the file would search for them.
bool mentions(const std::string& text, const std::string& secret) {
    std::string escaped;
    for (char c : secret) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) escaped += '\\';
        escaped += c;
    }
    return std::regex_search(text, std::regex("(^|[^A-Za-z0-9_])" + escaped + "($|[^A-Za-z0-9_])"));
}

// What a capture tells about who and where the machine is: names and serials
// anywhere in it, labels in its drives (a label such as "SYSTEM" is also a
// word the rest of the description needs).
struct Secrets {
    std::set<std::string> anywhere;
    std::set<std::string> labels;
};

Secrets secretsOf(const Json& description) {
    Secrets secrets;
    for (const char* member : {"computer_name", "user_name"})
        if (description.contains(member)) secrets.anywhere.insert(description[member].get<std::string>());
    for (const Json& drive : description["drives"]) {
        for (const char* label : {"label", "list_label"})
            if (drive.contains(label) && !drive[label].get<std::string>().empty())
                secrets.labels.insert(drive[label].get<std::string>());
        if (drive.contains("serial") && drive["serial"] != 0) {
            secrets.anywhere.insert(std::to_string(drive["serial"].get<uint32_t>()));
            secrets.anywhere.insert(std::to_string(static_cast<int32_t>(drive["serial"].get<uint32_t>())));
        }
    }
    const std::string registry = description["registry"];
    const std::regex owner("\"RegisteredOwner\"=\"([^\"]+)\"");
    if (std::smatch found; std::regex_search(registry, found, owner)) secrets.anywhere.insert(found[1]);
    return secrets;
}

void expectNoneTold(const Json& anonymous, const Secrets& secrets) {
    const std::string text = capture::DescriptionText(anonymous);
    for (const std::string& secret : secrets.anywhere) EXPECT_FALSE(mentions(text, secret)) << secret;
    const std::string drives = anonymous["drives"].dump();
    for (const std::string& label : secrets.labels) EXPECT_FALSE(mentions(drives, label)) << label;
}

TEST(CaptureCommand, AnonymousCaptureOfThisMachineNamesNoneOfIt) {
    const auto plain = runReport({"--capture"}, ownEnvironment());
    ASSERT_EQ(plain.status, 0) << plain.err;
    const auto anonymous = runReport({"--capture", "--anonymous"}, ownEnvironment());
    ASSERT_EQ(anonymous.status, 0) << anonymous.err;

    Secrets secrets = secretsOf(Json::parse(plain.out));
    char host[256] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    secrets.anywhere.insert(host);
    if (const passwd* user = ::getpwuid(::geteuid())) secrets.anywhere.insert(user->pw_name);
    expectNoneTold(Json::parse(anonymous.out), secrets);
}

TEST(CaptureCommand, AnonymousCapturesOfTheDemoMachinesNameNoneOfThemAndStillLoad) {
    for (const auto& file : fs::directory_iterator(testsupport::sourceDir() + "/machines")) {
        if (file.path().extension() != ".json") continue;
        SCOPED_TRACE(file.path().filename().string());
        testsupport::RecordingFrontend frontend;
        auto capture = [&](bool anonymous) {
            SimMachine machine(file.path().string(), frontend);
            return CaptureMachine(machine, capture::Privacy{anonymous, "/home/alice"});
        };
        const Json anonymous = capture(true);
        const std::string text = capture::DescriptionText(anonymous);
        expectNoneTold(anonymous, secretsOf(capture(false)));
        EXPECT_NO_THROW(SimMachine(SimMachine::Text{text}, frontend));
        EXPECT_EQ(capture::DescriptionText(capture(true)), text) << "placeholders are stable";
    }
}

class CaptureFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/si32-capture-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<std::string> leftInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        return names;
    }
    std::string machine() const { return testsupport::sourceDir() + "/machines/win98.json"; }

    fs::path dir;
};

TEST_F(CaptureFile, IsWrittenWholeAndReplaysAsTheMachine) {
    const std::string target = (dir / "captured.json").string();
    const auto written = runReport({"--capture", target}, withMachine(machine()));
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(leftInDir(), std::vector<std::string>{"captured.json"});
    for (const char* drive : {"C", "D"}) {
        const auto original = runReport({"--json", "--drive", drive, "--click"}, withMachine(machine()));
        const auto replayed = runReport({"--json", "--drive", drive, "--click"}, withMachine(target));
        ASSERT_EQ(replayed.status, 0) << replayed.err;
        EXPECT_EQ(replayed.out, original.out) << drive;
    }
}

TEST_F(CaptureFile, TheWindowShowsACapture) {
    const fs::path program = fs::path(std::getenv("SI32_BINARY_DIR")) / "bin" / "si32";
    if (!fs::exists(program)) GTEST_SKIP() << "the window is not built";
    const std::string target = (dir / "captured.json").string();
    ASSERT_EQ(runReport({"--capture", target}, ownEnvironment()).status, 0);
    std::vector<std::string> env = withMachine(target);
    env.insert(env.end(), {"QT_QPA_PLATFORM=offscreen", "SI32_EXIT_AFTER_ACTIVATION=1"});
    const auto shown = testsupport::runProgram("si32", {}, env);
    EXPECT_EQ(shown.status, 0) << shown.err;
}

TEST_F(CaptureFile, ThatCannotBeWrittenFailsInOneLineAndLeavesNothing) {
    fs::create_directory(dir / "taken");
    const struct {
        const char* what;
        fs::path target;
    } cases[] = {
        {"a folder that does not exist", dir / "missing" / "captured.json"},
        {"a name a folder already has", dir / "taken"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto run = runReport({"--capture", c.target.string()}, withMachine(machine()));
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(leftInDir(), std::vector<std::string>{"taken"});
        EXPECT_TRUE(fs::is_empty(dir / "taken"));
    }
}

}  // namespace
}  // namespace si32
