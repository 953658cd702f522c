// The report on the real machine compared with what the system's own tools
// say. A fact the machine (or its tools) cannot tell is skipped, saying so.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/startup.h"
#include "platform/host/host_backend.h"
#include "tests/support/recording_frontend.h"

namespace si32 {
namespace {

// The standard output of a tool, or nullopt when it cannot run or fails.
// Tools whose output is parsed run under LC_ALL=C, so their labels are not
// translated.
std::optional<std::string> runTool(std::vector<std::string> argv) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "Name:   value" lines of lscpu.
std::optional<std::string> lscpuField(const std::string& lscpu, const std::string& name) {
    std::istringstream lines(lscpu);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(name + ":", 0) == 0) return trim(line.substr(name.size() + 1));
    return std::nullopt;
}

class HostFacts : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        backend_ = makeHostBackend(frontend_, Program::Report).release();
        session_ = new Session(backend_->platform());
        Form_Load(*session_);
    }
    static void TearDownTestSuite() {
        delete session_;
        delete backend_;
    }
    static const std::string& field(const char* name, int index = -1) {
        return session_->form.control(name, index).text;
    }

    static inline testsupport::RecordingFrontend frontend_;
    static inline Backend* backend_ = nullptr;
    static inline Session* session_ = nullptr;
};

TEST_F(HostFacts, ProcessorCountMatchesNproc) {
    const auto nproc = runTool({"nproc"});
    if (!nproc) GTEST_SKIP() << "nproc cannot run here";
    EXPECT_EQ(field("Label2", 9), trim(*nproc));
}

TEST_F(HostFacts, ProcessorLineNamesWhatLscpuNames) {
    const auto lscpu = runTool({"env", "LC_ALL=C", "lscpu"});
    if (!lscpu) GTEST_SKIP() << "lscpu cannot run here";
    const std::string& shown = field("Label2", 8);
    ASSERT_FALSE(shown.empty());
    // The full line (vendor and name present) carries the model name; else
    // the line is the processor identifier, which names family and model.
    if (shown.find("  ") != std::string::npos) {
        const auto model = lscpuField(*lscpu, "Model name");
        if (!model) GTEST_SKIP() << "lscpu names no model";
        EXPECT_NE(shown.find(*model), std::string::npos) << shown;
    } else {
        const auto family = lscpuField(*lscpu, "CPU family");
        const auto model = lscpuField(*lscpu, "Model");
        if (!family || !model) GTEST_SKIP() << "lscpu names no family and model: " << shown;
        EXPECT_NE(shown.find("Family " + *family + " Model " + *model + " "), std::string::npos) << shown;
    }
}

TEST_F(HostFacts, TotalMemoryMatchesFree) {
    const auto free = runTool({"env", "LC_ALL=C", "free", "-b"});
    if (!free) GTEST_SKIP() << "free cannot run here";
    std::istringstream lines(*free);
    std::string line, label;
    uint64_t total = 0;
    while (std::getline(lines, line))
        if (line.rfind("Mem:", 0) == 0) std::istringstream(line) >> label >> total;
    ASSERT_GT(total, 0u) << *free;
    const auto separator = runTool({"locale", "thousands_sep"});
    if (!separator) GTEST_SKIP() << "locale cannot run here";
    // Groups of three under the locale's thousands separator, as the
    // program's patterns group.
    std::string digits = std::to_string((total + 512) / 1024);
    const std::string sep = trim(*separator);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0 && !sep.empty(); i -= 3) digits.insert(i, sep);
    EXPECT_EQ(field("Label2", 27), digits + "  KB");
}

TEST_F(HostFacts, DecimalSeparatorIsTheLocales) {
    const auto point = runTool({"locale", "decimal_point"});
    if (!point || trim(*point).empty()) GTEST_SKIP() << "locale names no decimal point";
    const std::string& shown = field("Label3", 2);
    EXPECT_EQ(shown.front(), '(');
    EXPECT_NE(shown.find(trim(*point)), std::string::npos) << shown;
}

TEST_F(HostFacts, UserAndHostNamesMatchTheSystems) {
    const auto user = runTool({"id", "-un"});
    if (!user) GTEST_SKIP() << "id cannot run here";
    EXPECT_EQ(field("Label2", 4), trim(*user).size() < 32 ? trim(*user) : "");

    const auto host = runTool({"uname", "-n"});
    if (!host) GTEST_SKIP() << "uname cannot run here";
    EXPECT_EQ(field("Label2", 3), trim(*host).size() < 32 ? trim(*host) : "");
}

}  // namespace
}  // namespace si32
