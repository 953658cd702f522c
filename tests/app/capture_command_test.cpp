// si32-report --capture as a user runs it: an anonymous capture gives away
// no name, label or serial of the machine, and a capture that cannot be
// written says so in one line and leaves nothing behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <thread>
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

// With --json the capture shows the window it was read from: on this
// machine, whose free figures change between two runs, the one report its
// replay must match. Standard output cannot hold both.
TEST_F(CaptureFile, WithJsonShowsTheWindowItsReplayShows) {
    for (const char* drive : {"C", "D"}) {
        const std::string target = (dir / ("captured-" + std::string(drive) + ".json")).string();
        const auto shown = runReport({"--capture", target, "--json", "--drive", drive}, withMachine(machine()));
        ASSERT_EQ(shown.status, 0) << shown.err;
        const auto replayed = runReport({"--json", "--drive", drive}, withMachine(target));
        ASSERT_EQ(replayed.status, 0) << replayed.err;
        EXPECT_EQ(replayed.out, shown.out) << drive;
        EXPECT_NE(shown.out.find("\"drive\": \"" + std::string(1, static_cast<char>(std::tolower(*drive)))),
                  std::string::npos)
            << shown.out;
    }
    const auto refused = runReport({"--capture", "--json"}, withMachine(machine()));
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("FILE"), std::string::npos) << refused.err;
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

TEST_F(CaptureFile, AStreamIsWrittenWhereItIsNeverReplaced) {
    const std::string expected = runReport({"--capture"}, withMachine(machine())).out;
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "null");
    const struct {
        const char* what;
        std::string target;
        fs::file_type typeAfter;  // of the target, links followed
        bool readBack;            // the text arrives through the FIFO
    } cases[] = {
        {"a FIFO", (dir / "fifo").string(), fs::file_type::fifo, true},
        {"a link to /dev/null", (dir / "null").string(), fs::file_type::character, false},
        {"standard output, a pipe", "/dev/stdout", fs::file_type::unknown, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string received;
        std::thread reader;
        if (c.readBack)
            reader = std::thread([&] { received = testsupport::readAll(::open(c.target.c_str(), O_RDONLY)); });
        const auto run = runReport({"--capture", c.target}, withMachine(machine()));
        if (reader.joinable()) {
            // A reader still waiting for a writer that never came gets its end.
            if (const int unblock = ::open(c.target.c_str(), O_WRONLY | O_NONBLOCK); unblock >= 0) ::close(unblock);
            reader.join();
        }
        EXPECT_EQ(run.status, 0) << run.err;
        if (c.readBack) {
            EXPECT_EQ(received, expected);
        }
        if (c.target == "/dev/stdout") {
            EXPECT_EQ(run.out, expected);
        }
        if (c.typeAfter != fs::file_type::unknown) {
            EXPECT_EQ(fs::status(c.target).type(), c.typeAfter);
        }
    }
    EXPECT_TRUE(fs::is_symlink(dir / "null"));
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
    std::vector<std::string> left = leftInDir();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"fifo", "null"}));
}

TEST_F(CaptureFile, AFullDeviceFailsInOneLine) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const auto run = runReport({"--capture", "/dev/full"}, withMachine(machine()));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(std::strerror(ENOSPC)), std::string::npos) << run.err;
    EXPECT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
}

TEST_F(CaptureFile, ARegularFileIsReplacedWholeKeepingItsMode) {
    const std::string expected = runReport({"--capture"}, withMachine(machine())).out;
    const std::string longName = std::string(245, 'n') + ".json";  // 250 bytes, a valid name
    const struct {
        const char* what;
        std::string name;
        std::optional<fs::perms> before;  // absent: no file yet
        fs::perms after;
    } cases[] = {
        {"a new file holds names: owner only", "new.json", std::nullopt, fs::perms(0600)},
        {"a private file stays private", "private.json", fs::perms(0600), fs::perms(0600)},
        {"a shared file stays shared", "shared.json", fs::perms(0644), fs::perms(0644)},
        {"a group's file stays the group's", "group.json", fs::perms(0640), fs::perms(0640)},
        {"a name of 250 bytes", longName, std::nullopt, fs::perms(0600)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path target = dir / c.name;
        if (c.before) {
            std::ofstream(target) << "old";
            fs::permissions(target, *c.before);
        }
        const auto run = runReport({"--capture", target.string()}, withMachine(machine()));
        ASSERT_EQ(run.status, 0) << run.err;
        std::ifstream in(target);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, c.after);
        fs::remove(target);
        EXPECT_TRUE(fs::is_empty(dir)) << "a temporary file was left";
    }
}

// The capture of win98 into target, ended by signal after delay.
void interruptedCapture(const std::string& machine, const std::string& target, int signal,
                        std::chrono::microseconds delay) {
    testsupport::Child capture({testsupport::binaryDir() + "/bin/si32-report", "--capture", target},
                               withMachine(machine));
    std::this_thread::sleep_for(delay);
    capture.signal(signal);
    capture.finish();
}

TEST_F(CaptureFile, AnInterruptAtAnyMomentLeavesTheTargetWholeOrAbsentAndNothingElse) {
    const std::string expected = runReport({"--capture"}, withMachine(machine())).out;
    const fs::path target = dir / "captured.json";
    // SIGKILL cannot be caught: only a file without a name survives it.
    const int unnamed = ::open(dir.c_str(), O_TMPFILE | O_WRONLY, 0600);
    std::vector<int> signals{SIGTERM, SIGINT};
    if (unnamed >= 0) signals.push_back(SIGKILL);
    if (unnamed >= 0) ::close(unnamed);
    for (const int signal : signals) {
        for (int step = 0; step < 8; ++step) {
            SCOPED_TRACE(std::to_string(signal) + " after " + std::to_string(step * 15) + " ms");
            interruptedCapture(machine(), target.string(), signal, std::chrono::milliseconds(step * 15));
            const std::vector<std::string> left = leftInDir();
            EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"captured.json"});
            if (fs::exists(target)) {
                std::ifstream in(target);
                EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
                fs::remove(target);
            }
        }
    }
}

TEST_F(CaptureFile, ThroughALinkTheFileItNamesIsReplaced) {
    std::ofstream(dir / "real.json") << "old";
    fs::create_symlink("real.json", dir / "link.json");
    const auto run = runReport({"--capture", (dir / "link.json").string()}, withMachine(machine()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(dir / "link.json"));
    EXPECT_GT(fs::file_size(dir / "real.json"), 3u);
}

}  // namespace
}  // namespace si32
