#include "platform/host/kernel/host_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>

#include "platform/host/common/host_read.h"
#include "platform/run_time_error.h"

extern char** environ;

namespace si32 {

bool isExecutableFile(const std::string& hostPath, MountGuard& mounts) { return mounts.IsExecutableFile(hostPath); }

std::optional<std::string> findProgram(std::string_view name, const std::optional<std::string>& asWritten,
                                       const ProgramSearch& search) {
    if (asWritten && isExecutableFile(*asWritten, *search.mounts)) return asWritten;
    // A name with a folder or drive in it means that file and nothing else;
    // only a bare name is looked for beside the program and on the path.
    if (name.find_first_of("\\/:") != std::string_view::npos) return std::nullopt;
    std::string_view base = name;
    if (base.size() <= 4 || !equalsNoCase(base.substr(base.size() - 4), ".exe")) return std::nullopt;
    base.remove_suffix(4);

    std::vector<std::string> dirs = search.programDirs;
    dirs.push_back(search.currentDir);
    std::string_view rest = search.searchPath;
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        // An empty entry means the current directory, already searched.
        if (const std::string_view dir = rest.substr(0, colon); !dir.empty()) dirs.emplace_back(dir);
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    // Windows names are often written in capitals ("MSINFO32.EXE"); Linux
    // programs are named in lower case.
    std::vector<std::string> stems{std::string(base)};
    if (lowerAscii(base) != base) stems.push_back(lowerAscii(base));
    for (const std::string& dir : dirs) {
        if (dir.empty()) continue;
        for (const std::string& stem : stems)
            if (const std::string path = dir + "/" + stem; isExecutableFile(path, *search.mounts)) return path;
    }
    return std::nullopt;
}

namespace {

// The children this process started and whether each has ended: the reaper
// thread of a child tells, so a caller can wait for one without reaping it
// itself.
class Children {
public:
    void started(pid_t pid) {
        std::lock_guard lock(mutex_);
        running_.insert(pid);
    }
    void ended(pid_t pid) {
        {
            std::lock_guard lock(mutex_);
            running_.erase(pid);
        }
        changed_.notify_all();
    }
    bool waitFor(pid_t pid, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return running_.count(pid) == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<pid_t> running_;
};

Children& children() {
    static Children* all = new Children;  // outlives the detached reapers
    return *all;
}

}  // namespace

uint32_t spawnProgram(const std::string& program, const std::vector<std::string>& argv, const std::string& directory) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    // What the child prints must never mix into ours (the report's JSON on
    // standard output), nor may it read our input.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0) raise(ErrorKind::PlatformFailure, program + ": " + std::strerror(error));

    // Waiting for this one child only leaves every other child of the
    // process (the toolkit's, a library's) to its own owner, which a SIGCHLD
    // handler would not.
    children().started(pid);
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        children().ended(pid);
    }).detach();
    return static_cast<uint32_t>(pid);
}

bool waitForProgram(uint32_t processId, uint32_t milliseconds) {
    return children().waitFor(static_cast<pid_t>(processId), std::chrono::milliseconds(milliseconds));
}

}  // namespace si32
