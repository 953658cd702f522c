#pragma once
// A program a test starts: a process group of its own, the environment given
// and nothing else, ended with everything it started, and what it printed
// kept. Both streams go to unnamed files, so that neither can fill and stall
// the other and nothing the child leaves behind holds the test.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace si32::testsupport {

// Ends a process group started for a test: asked first, then forced, and
// the leader reaped, so that neither it nor anything it started outlives
// the test.
inline void endProcessGroup(pid_t leader, std::chrono::milliseconds grace = std::chrono::milliseconds(3000)) {
    if (leader <= 0) return;
    ::kill(-leader, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    pid_t reaped = 0;
    while ((reaped = ::waitpid(leader, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // Whatever the leader started may still be there after it is gone.
    ::kill(-leader, SIGKILL);
    if (reaped == 0) ::waitpid(leader, &status, 0);
}

inline std::string readAll(int fd) {
    std::string text;
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
}

struct ChildEnd {
    bool ended = false;  // false: not started, or killed after its patience
    int status = -1;     // the exit status; -1 when it did not exit by itself
    int signal = 0;      // the signal that ended it, if one did
    std::string out;     // empty where standard output went to a descriptor of the test's
    std::string err;
};

struct ChildOptions {
    int stdoutFd = -1;  // the child's standard output; -1: kept in ChildEnd::out
    // SIGPIPE at its default, as a shell starts a command, whatever the
    // test process has.
    bool shellSignals = false;
    std::chrono::milliseconds patience = std::chrono::minutes(5);
};

class Child {
public:
    // argv[0] a path. started() says whether it could be started.
    Child(std::vector<std::string> argv, std::vector<std::string> env, ChildOptions options = {})
        : options_(options), out_(unnamedFile()), err_(unnamedFile()) {
        if (err_ < 0 || (options_.stdoutFd < 0 && out_ < 0)) return;
        std::vector<char*> cargv, cenv;
        for (auto& a : argv) cargv.push_back(a.data());
        cargv.push_back(nullptr);
        for (auto& e : env) cenv.push_back(e.data());
        cenv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, options_.stdoutFd >= 0 ? options_.stdoutFd : out_, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err_, STDERR_FILENO);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        short flags = POSIX_SPAWN_SETPGROUP;
        sigset_t defaults;
        sigemptyset(&defaults);
        if (options_.shellSignals) {
            sigaddset(&defaults, SIGPIPE);
            posix_spawnattr_setsigdefault(&attributes, &defaults);
            flags |= POSIX_SPAWN_SETSIGDEF;
        }
        posix_spawnattr_setflags(&attributes, flags);
        posix_spawnattr_setpgroup(&attributes, 0);
        if (posix_spawn(&pid_, argv[0].c_str(), &actions, &attributes, cargv.data(), cenv.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    ~Child() {
        if (pid_ > 0) endProcessGroup(pid_);
        for (const int fd : {out_, err_})
            if (fd >= 0) ::close(fd);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return pid_ > 0; }
    // To the program itself, not to what it started.
    void signal(int number) const {
        if (pid_ > 0) ::kill(pid_, number);
    }

    // Waits for the program to end, at most its patience; then ends its
    // group, helpers left behind included.
    ChildEnd finish() {
        ChildEnd end;
        if (pid_ <= 0) return end;
        const auto deadline = std::chrono::steady_clock::now() + options_.patience;
        int status = 0;
        pid_t reaped = 0;
        // Short naps first: most programs a test starts end within milliseconds.
        auto nap = std::chrono::microseconds(200);
        while ((reaped = ::waitpid(pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(nap);
            nap = std::min(nap * 2, std::chrono::microseconds(20000));
        }
        if (reaped == pid_) {
            end.ended = true;
            if (WIFEXITED(status)) end.status = WEXITSTATUS(status);
            if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
            ::kill(-pid_, SIGKILL);
        } else {
            endProcessGroup(pid_);
        }
        pid_ = -1;
        end.out = takeFile(out_);
        end.err = takeFile(err_);
        return end;
    }

private:
    static int unnamedFile() {
        char name[] = "/tmp/si32-child-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd >= 0) ::unlink(name);
        return fd;
    }
    static std::string takeFile(int& fd) {
        if (fd < 0) return {};
        ::lseek(fd, 0, SEEK_SET);
        std::string text = readAll(fd);
        fd = -1;
        return text;
    }

    ChildOptions options_;
    int out_ = -1;
    int err_ = -1;
    pid_t pid_ = -1;
};

inline ChildEnd runChild(std::vector<std::string> argv, std::vector<std::string> env, ChildOptions options = {}) {
    return Child(std::move(argv), std::move(env), options).finish();
}

}  // namespace si32::testsupport
