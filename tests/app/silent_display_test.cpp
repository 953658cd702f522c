// A display that accepts the connection and never answers: both programs
// give up on it at the time limit, say so in one line, and end, instead of
// waiting for ever.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_report.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/source_dir.h"

namespace {

namespace fs = std::filesystem;

// Listens where X11 clients look for display :N (the abstract socket Linux
// clients try first, so no file is made and no real display is touched),
// takes every connection and never sends a byte. N is the first free one.
class SilentDisplay {
public:
    SilentDisplay() {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        for (int n = 400; listener_ >= 0 && n < 1400 && number_ < 0; ++n) {
            sockaddr_un address = {};
            address.sun_family = AF_UNIX;
            const std::string name = "/tmp/.X11-unix/X" + std::to_string(n);
            name.copy(address.sun_path + 1, name.size());
            const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
            if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) == 0) number_ = n;
        }
        if (number_ < 0 || ::listen(listener_, 16) != 0) return;
        accepting_ = std::thread([this] {
            while (!stop_) {
                pollfd ready{listener_, POLLIN, 0};
                if (::poll(&ready, 1, 50) <= 0) continue;
                const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                if (connection < 0) continue;
                held_.push_back(connection);
                ++accepted_;
            }
        });
    }
    ~SilentDisplay() {
        stop_ = true;
        if (accepting_.joinable()) accepting_.join();
        for (int fd : held_) ::close(fd);
        if (listener_ >= 0) ::close(listener_);
    }
    bool listening() const { return accepting_.joinable(); }
    std::string name() const { return ":" + std::to_string(number_); }
    std::size_t connections() const { return accepted_; }

private:
    int listener_ = -1;
    int number_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> accepted_{0};
    std::thread accepting_;
    std::vector<int> held_;  // the accepting thread's own until it is joined
};

// The program with DISPLAY set to display; ended, with its children, when it
// has not ended after a patience far above the programs' own limit.
si32::testsupport::ChildEnd runAgainst(const std::string& program, const std::string& display,
                                       const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env =
        si32::testsupport::environmentWithout({"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SI32_MACHINE"});
    env.push_back("DISPLAY=" + display);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    si32::testsupport::ChildOptions options;
    options.patience = std::chrono::seconds(20);
    return si32::testsupport::runChild({si32::testsupport::binaryDir() + "/bin/" + program}, env, options);
}

TEST(SilentDisplay, BothProgramsEndWithOneLineInsteadOfWaiting) {
    SilentDisplay display;
    ASSERT_TRUE(display.listening());
    const struct {
        const char* program;
        std::vector<std::string> env;
        int status;
        const char* says;
    } cases[] = {
        {"si32-report", {}, 0, "the display does not answer"},
        {"si32", {}, 1, "the display cannot be reached"},
        {"si32", {"QT_QPA_PLATFORM=xcb"}, 1, "the display cannot be reached"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        if (!fs::exists(si32::testsupport::binaryDir() + "/bin/" + c.program)) continue;
        const std::size_t before = display.connections();
        const si32::testsupport::ChildEnd run = runAgainst(c.program, display.name(), c.env);
        ASSERT_TRUE(run.ended) << "still waiting on the display";
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_GT(display.connections(), before) << "the program never reached the display";
    }
}

}  // namespace
