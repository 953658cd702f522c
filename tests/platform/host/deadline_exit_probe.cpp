// Started by the deadline tests: leaves one worker blocked past its deadline
// in a wait that no signal but SIGKILL ends (the parent side of vfork, as a
// read on a dead network mount is), then ends. It must end at once, leak
// check or not.
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <optional>

#include "platform/engine/deadline_runner.h"

int main() {
    si32::DeadlineRunner runner(std::chrono::milliseconds(100));
    const auto result = runner.run<int>("dead", [] {
        // The child only sleeps and leaves; the parent thread waits for it
        // in a killable state, where ptrace cannot stop it.
        if (::vfork() == 0) {
            // Its copies of the output must not keep the test's pipe open.
            ::syscall(SYS_close, STDOUT_FILENO);
            ::syscall(SYS_close, STDERR_FILENO);
            const timespec pause{5, 0};
            ::syscall(SYS_nanosleep, &pause, nullptr);
            ::_exit(0);
        }
        return std::optional<int>(0);
    });
    return result ? 1 : 0;
}
