// The single-instance lock across real processes: lock_probe instances
// started together, killed, and of the two programs.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/host/devices/host_lock.h"
#include "tests/platform/host/host_test_support.h"

extern char** environ;

namespace si32 {
namespace {

using hosttest::ScratchDir;

// One lock_probe, with its standard input and output on pipes.
class Probe {
public:
    Probe(const std::string& program, const std::string& runtimeDir) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        const std::string path = hosttest::binaryDir() + "/bin/lock_probe";
        std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + runtimeDir};
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<char*> argv = {const_cast<char*>(path.c_str()), const_cast<char*>(program.c_str()), nullptr};
        const int rc = ::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
        if (rc != 0) throw std::runtime_error("cannot start " + path);
    }
    ~Probe() {
        if (toChild_ >= 0) ::close(toChild_);
        ::close(fromChild_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }

    void go() { ASSERT_EQ(::write(toChild_, "g", 1), 1); }
    // "held" or "busy".
    std::string answer() {
        std::string line;
        char c = 0;
        while (::read(fromChild_, &c, 1) == 1 && c != '\n') line.push_back(c);
        return line;
    }
    void kill9() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
};

TEST(InstanceLock, OfProbesStartedTogetherExactlyOneHoldsIt) {
    ScratchDir runtime;
    for (int round = 0; round < 5; ++round) {
        std::vector<std::unique_ptr<Probe>> probes;
        for (int i = 0; i < 6; ++i) probes.push_back(std::make_unique<Probe>("window", runtime.path()));
        for (auto& p : probes) p->go();
        int held = 0;
        for (auto& p : probes) {
            const std::string answer = p->answer();
            EXPECT_TRUE(answer == "held" || answer == "busy") << answer;
            held += answer == "held";
        }
        EXPECT_EQ(held, 1) << "round " << round;
    }
}

TEST(InstanceLock, AKilledHolderNeverBlocksTheNextStart) {
    ScratchDir runtime;
    Probe first("window", runtime.path());
    first.go();
    ASSERT_EQ(first.answer(), "held");
    {
        Probe second("window", runtime.path());
        second.go();
        EXPECT_EQ(second.answer(), "busy");
    }
    first.kill9();
    Probe third("window", runtime.path());
    third.go();
    EXPECT_EQ(third.answer(), "held");
}

TEST(InstanceLock, OnlyWindowsExcludeOneAnother) {
    ScratchDir runtime;
    Probe window("window", runtime.path());
    window.go();
    ASSERT_EQ(window.answer(), "held");
    // Reports run beside the window and beside each other.
    Probe report("report", runtime.path());
    report.go();
    EXPECT_EQ(report.answer(), "held");
    Probe secondReport("report", runtime.path());
    secondReport.go();
    EXPECT_EQ(secondReport.answer(), "held");
    Probe secondWindow("window", runtime.path());
    secondWindow.go();
    EXPECT_EQ(secondWindow.answer(), "busy");
}

TEST(InstanceLock, AFileOwnedByAnotherUserOrALinkDecidesNothing) {
    ScratchDir dir;
    const std::string target = dir.write("elsewhere", "");
    const std::string link = dir.path() + "/link.lock";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    InstanceLock viaLink(link);
    EXPECT_EQ(viaLink.state(), InstanceLock::State::Unknown);

    InstanceLock missingDirectory(dir.path() + "/no/such/dir.lock");
    EXPECT_EQ(missingDirectory.state(), InstanceLock::State::Unknown);

    // Only a privileged test run can plant another user's file.
    const std::string planted = dir.write("planted.lock", "");
    if (::chown(planted.c_str(), 65534, 65534) == 0 && ::geteuid() != 65534) {
        InstanceLock foreign(planted);
        EXPECT_EQ(foreign.state(), InstanceLock::State::Unknown);
    }
}

TEST(InstanceLock, PathsArePerUserAndPerProgram) {
    hosttest::ScopedEnv runtime("XDG_RUNTIME_DIR", std::string("/run/user/1234"));
    const std::string uid = std::to_string(::geteuid());
    EXPECT_EQ(InstanceLock::PathFor(Program::Window), "/run/user/1234/si32-" + uid + "-window.lock");
    EXPECT_EQ(InstanceLock::PathFor(Program::Report), "/run/user/1234/si32-" + uid + "-report.lock");
    hosttest::ScopedEnv unset("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(InstanceLock::PathFor(Program::Window), "/tmp/si32-" + uid + "-window.lock");
}

}  // namespace
}  // namespace si32
