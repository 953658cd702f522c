#pragma once
// Runs a built program (si32-report, si32) as its own process, with the environment given
// and nothing else, and keeps what it printed.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace si32::testsupport {

struct ReportRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readAll(int fd) {
    std::string text;
    char buf[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
}

// argv[0] a path. Standard error goes to a file, so that neither pipe can
// fill and stall the other.
inline ReportRun runCommand(std::vector<std::string> argv, const std::vector<std::string>& env) {
    std::vector<char*> cargv, cenv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    std::vector<std::string> envCopy = env;
    for (auto& e : envCopy) cenv.push_back(e.data());
    cenv.push_back(nullptr);

    ReportRun run;
    char errName[] = "/tmp/si32-report-err-XXXXXX";
    const int errFd = ::mkstemp(errName);
    int pipefd[2];
    if (errFd < 0 || ::pipe(pipefd) != 0) return run;
    ::unlink(errName);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipefd[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errFd, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipefd[0]);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, cargv.data(), cenv.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipefd[1]);
    if (rc != 0) {
        ::close(pipefd[0]);
        ::close(errFd);
        return run;
    }
    run.out = readAll(pipefd[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::lseek(errFd, 0, SEEK_SET);
    run.err = readAll(errFd);
    return run;
}

// One of the built programs (bin/program).
inline ReportRun runProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& env) {
    const char* bin = std::getenv("SI32_BINARY_DIR");
    std::vector<std::string> argv{std::string(bin != nullptr ? bin : ".") + "/bin/" + program};
    argv.insert(argv.end(), args.begin(), args.end());
    return runCommand(std::move(argv), env);
}

inline ReportRun runReport(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    return runProgram("si32-report", args, env);
}

}  // namespace si32::testsupport
