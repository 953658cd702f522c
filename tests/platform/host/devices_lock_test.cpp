// The single-instance lock across real processes: lock_probe instances
// started together, killed, and of the two programs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
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
    Probe(const std::string& program, const std::string& runtimeDir, const std::string& display = ":0",
          const std::string& tempDir = "/tmp", const std::string& errors = "/dev/null") {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::string path = hosttest::binaryDir() + "/bin/lock_probe";
        std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + runtimeDir, "DISPLAY=" + display, "TMPDIR=" + tempDir};
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

TEST(InstanceLock, OneUserOnTwoDisplaysGetsOneWindowOnEach) {
    ScratchDir runtime;
    Probe first("window", runtime.path(), ":1");
    first.go();
    ASSERT_EQ(first.answer(), "held");
    Probe otherDisplay("window", runtime.path(), ":2");
    otherDisplay.go();
    EXPECT_EQ(otherDisplay.answer(), "held");
    // The screen number picks a monitor of the same display.
    Probe sameDisplay("window", runtime.path(), ":1.0");
    sameDisplay.go();
    EXPECT_EQ(sameDisplay.answer(), "busy");
}

TEST(InstanceLock, TheScopeIsTheDisplayQtOpens) {
    struct Case {
        const char* platform;
        const char* session;
        const char* wayland;
        const char* x11;
        std::string scope;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, ":0.0", "x11::0"},
        {nullptr, "x11", nullptr, "host:3", "x11:host:3"},
        {nullptr, nullptr, "wayland-1", ":0", "wayland:wayland-1"},
        {nullptr, "wayland", "wayland-1", ":0", "wayland:wayland-1"},
        {nullptr, nullptr, "wayland-2", nullptr, "wayland:wayland-2"},
        {"xcb", "wayland", "wayland-1", ":5.1", "x11::5"},
        {"wayland", nullptr, nullptr, ":0", "wayland:wayland-0"},
        {"offscreen:configfile=/x.json", nullptr, nullptr, ":0", "offscreen"},
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        HostEnvironment environment;
        const std::pair<const char*, const char*> variables[] = {{"QT_QPA_PLATFORM", c.platform},
                                                                 {"XDG_SESSION_TYPE", c.session},
                                                                 {"WAYLAND_DISPLAY", c.wayland},
                                                                 {"DISPLAY", c.x11}};
        for (const auto& [name, value] : variables)
            if (value != nullptr) environment.Set(name, value);
        EXPECT_EQ(displayScope(environment), c.scope) << c.scope;
    }
    // Every display is one file name of its own.
    const std::string uid = std::to_string(::geteuid());
    EXPECT_EQ(lockFileName(Program::Window, ""), "si32-" + uid + "-window.lock");
    EXPECT_EQ(lockFileName(Program::Window, "x11::1"), "si32-" + uid + "-window-x11_3a_3a1.lock");
    EXPECT_NE(lockFileName(Program::Window, "x11:a/b"), lockFileName(Program::Window, "x11:a_b"));
    EXPECT_EQ(lockFileName(Program::Report, "wayland:wayland-0"), "si32-" + uid + "-report-wayland_3awayland-0.lock");
}

TEST(InstanceLock, AnUnusableRuntimeDirectoryFallsBackToAPrivateOne) {
    ScratchDir scratch;
    const std::string name = lockFileName(Program::Window, "test");
    const std::string fallback = scratch.path() + "/tmp";
    ASSERT_EQ(::mkdir(fallback.c_str(), 01777), 0);
    // A file where the directory should be, and (for a privileged run) a
    // lock file planted by another user.
    const std::string notADirectory = scratch.write("runtime-file", "");
    std::vector<std::string> unusable = {notADirectory, scratch.path() + "/missing", "relative/dir"};
    const std::string planted = scratch.path() + "/shared";
    ASSERT_EQ(::mkdir(planted.c_str(), 01777), 0);
    if (::chown(scratch.write("shared/" + name, "").c_str(), 65534, 65534) == 0 && ::geteuid() != 65534)
        unusable.push_back(planted);
    for (const std::string& runtime : unusable) {
        SCOPED_TRACE(runtime);
        auto first = takeInstanceLock(name, runtime, fallback);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->state(), InstanceLock::State::Held);
        auto second = takeInstanceLock(name, runtime, fallback);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->state(), InstanceLock::State::Busy) << "the guard still holds";
    }
    struct stat info {};
    ASSERT_EQ(::lstat((fallback + "/si32-" + std::to_string(::geteuid())).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(takeInstanceLock(name, notADirectory, notADirectory), nullptr) << "no place at all";
}

TEST(InstanceLock, WithNoPlaceAtAllTheWindowStartsAndSaysSoOnce) {
    ScratchDir scratch;
    const std::string notADirectory = scratch.write("runtime", "");
    // The private directory's name taken by a file.
    scratch.write("tmp/si32-" + std::to_string(::geteuid()), "");
    const std::string errors = scratch.path() + "/errors";
    {
        Probe window("window", notADirectory, ":0", scratch.path() + "/tmp", errors);
        window.go();
        EXPECT_EQ(window.answer(), "held") << "no guard is no reason to refuse the window";
    }
    std::ifstream in(errors);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("single-instance lock"), std::string::npos) << said;
}

TEST(InstanceLock, ThePrivateDirectoryMustBeOwnAndClosed) {
    ScratchDir scratch;
    const std::string own = "/si32-" + std::to_string(::geteuid());
    struct Case {
        const char* what;
        std::function<void(const std::string&)> prepare;
        bool usable;
    };
    const Case cases[] = {
        {"made here", [](const std::string&) {}, true},
        {"left from an earlier run", [](const std::string& p) { ::mkdir(p.c_str(), 0700); }, true},
        {"open to others",
         [](const std::string& p) {
             ::mkdir(p.c_str(), 0755);
             ::chmod(p.c_str(), 0755);
         },
         false},
        {"a link", [&](const std::string& p) { ::symlink(scratch.path().c_str(), p.c_str()); }, false},
        {"a file", [](const std::string& p) { ::close(::open(p.c_str(), O_CREAT | O_WRONLY, 0600)); }, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string base = scratch.path() + "/" + std::to_string(n++);
        ASSERT_EQ(::mkdir(base.c_str(), 0755), 0);
        c.prepare(base + own);
        EXPECT_EQ(privateLockDirectory(base).has_value(), c.usable);
    }
    // Only a privileged run can give the directory to another user.
    const std::string base = scratch.path() + "/foreign";
    ASSERT_EQ(::mkdir(base.c_str(), 0755), 0);
    ASSERT_TRUE(privateLockDirectory(base));
    if (::chown((base + own).c_str(), 65534, 65534) == 0 && ::geteuid() != 65534) {
        EXPECT_FALSE(privateLockDirectory(base));
    }
}

}  // namespace
}  // namespace si32
