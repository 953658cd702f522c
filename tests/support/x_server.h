#pragma once
// A virtual X server (Xvfb) of a test's own. The server picks a free display
// number itself (-displayfd), so servers started side by side, in a chroot or
// next to a desktop session never take each other's number or end up
// talking to another machine's server through the shared abstract socket
// namespace. It admits only clients holding its own cookie, and it runs in
// a process group of its own that ends with the object.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child_process.h"

namespace si32::testsupport {

class XServer {
public:
    // args: what Xvfb takes besides the display, e.g. {"-screen", "0", "1024x768x24"}.
    explicit XServer(const std::vector<std::string>& args) {
        const char* tmp = std::getenv("TMPDIR");
        std::string dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/si32-xserver-XXXXXX";
        if (::mkdtemp(dir.data()) == nullptr) return;
        dir_ = dir;
        authority_ = dir_ + "/Xauthority";
        log_ = dir_ + "/Xvfb.log";
        if (!writeCookie()) return;
        start(args);
    }
    ~XServer() {
        endProcessGroup(pid_);
        if (!dir_.empty()) {
            ::unlink(authority_.c_str());
            ::unlink(log_.c_str());
            ::rmdir(dir_.c_str());
        }
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ready() const { return !display_.empty(); }
    const std::string& display() const { return display_; }
    const std::string& authority() const { return authority_; }
    std::vector<std::string> environment() const { return {"DISPLAY=" + display_, "XAUTHORITY=" + authority_}; }
    // What the server said, for the message of a test that could not use it.
    std::string log() const {
        std::ifstream in(log_);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    // One MIT-MAGIC-COOKIE-1 entry for any address and any display number
    // (family FamilyWild, empty number): the number is known only once the
    // server has picked it.
    bool writeCookie() const {
        unsigned char cookie[16];
        if (::getrandom(cookie, sizeof cookie, 0) != static_cast<ssize_t>(sizeof cookie)) return false;
        const std::string name = "MIT-MAGIC-COOKIE-1";
        std::string entry = {'\xff', '\xff', '\0', '\0', '\0', '\0', '\0', static_cast<char>(name.size())};
        entry += name;
        entry += {'\0', static_cast<char>(sizeof cookie)};
        entry.append(reinterpret_cast<const char*>(cookie), sizeof cookie);
        const int fd = ::open(authority_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const bool written = ::write(fd, entry.data(), entry.size()) == static_cast<ssize_t>(entry.size());
        return ::close(fd) == 0 && written;
    }

    void start(const std::vector<std::string>& extra) {
        const char* binary = "/usr/bin/Xvfb";
        int ends[2];
        if (::access(binary, X_OK) != 0 || ::pipe2(ends, O_CLOEXEC) != 0) return;
        std::vector<std::string> args = {
            binary, "-displayfd", std::to_string(ends[1]), "-auth", authority_, "-nolisten", "tcp", "-noreset"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // A dup2 onto itself clears close-on-exec in the server only.
        posix_spawn_file_actions_adddup2(&actions, ends[1], ends[1]);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        if (::posix_spawn(&pid_, binary, &actions, &attributes, argv.data(), environ) != 0) pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        ::close(ends[1]);
        // The server writes its number once it accepts connections; a server
        // that dies closes the pipe instead.
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (pid_ > 0 && number.find('\n') == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd wait{ends[0], POLLIN, 0};
            if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) break;
            char buf[16];
            const ssize_t n = ::read(ends[0], buf, sizeof buf);
            if (n <= 0) break;
            number.append(buf, static_cast<std::size_t>(n));
        }
        ::close(ends[0]);
        if (const auto end = number.find('\n'); end != std::string::npos && end > 0)
            display_ = ":" + number.substr(0, end);
    }

    std::string dir_;
    std::string authority_;
    std::string log_;
    std::string display_;
    pid_t pid_ = -1;
};

}  // namespace si32::testsupport
