// A worker blocked past its deadline never holds the program at exit, also
// under LeakSanitizer, whose check at exit stops every thread.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/platform/host/host_test_support.h"

extern char** environ;

namespace si32 {
namespace {

TEST(DeadlineExit, AProgramWithABlockedWorkerEndsAtOnce) {
    const std::string probe = hosttest::binaryDir() + "/bin/deadline_exit_probe";
    char* argv[] = {const_cast<char*>(probe.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = -1;
    pid_t ended = 0;
    const auto start = std::chrono::steady_clock::now();
    while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(3))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "the program was still running after 3 s; its blocked worker waits 5 s";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the work must have missed its deadline";
}

}  // namespace
}  // namespace si32
