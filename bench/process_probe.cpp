// Runs one program and prints its wall time in nanoseconds, its peak resident
// memory in kilobytes and its exit status. The peak a child reports includes
// the memory of the process that started it, so a small starter like this one
// gives the program's own figure where a Python or shell parent would not.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

extern char** environ;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: process_probe PROGRAM [ARGS...]\n");
        return 2;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[1], &actions, nullptr, argv + 1, environ) != 0) {
        std::perror(argv[1]);
        return 2;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::printf("%lld %ld %d\n", static_cast<long long>(std::chrono::nanoseconds(elapsed).count()), usage.ru_maxrss,
                WIFEXITED(status) ? WEXITSTATUS(status) : 128);
    return 0;
}
