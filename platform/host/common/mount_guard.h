#pragma once
// File-system access that a dead server cannot hold. Every access to a path
// on a network or FUSE mount runs under the deadline runner; a mount that
// missed its deadline once is dead for the rest of the run, and later access
// to it fails at once. Paths on local mounts are accessed directly.
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/deadline_runner.h"

namespace si32 {

struct GuardedMount {
    std::string mountPoint;  // as a path on this machine
    bool mayHang = false;    // a network or FUSE file system
};

// An answer about a path: errno 0 with the status, or the errno of the
// failure; ETIMEDOUT when the mount did not answer in time or is dead.
struct PathStatus {
    int error = 0;
    struct stat info {};
    bool ok() const { return error == 0; }
};

class MountGuard {
public:
    // No mounts that may hang: every access is direct.
    MountGuard();
    MountGuard(std::vector<GuardedMount> mounts, std::chrono::milliseconds limit);
    ~MountGuard();
    MountGuard(const MountGuard&) = delete;
    MountGuard& operator=(const MountGuard&) = delete;

    // The mount point of the network or FUSE mount that holds path, following
    // the links on local mounts on the way (the last name's own link only
    // when followLast); "" for a path on a local mount.
    std::string HangingMountOf(std::string_view path, bool followLast = true) const;
    bool IsDead(const std::string& mountPoint) const;
    void MarkDead(const std::string& mountPoint);

    // Runs work directly for a local path, under the deadline otherwise;
    // nullopt when the mount did not answer in time or is dead.
    template <class T>
    std::optional<T> Run(std::string_view path, std::function<T()> work, bool followLast = true) {
        const std::string mount = HangingMountOf(path, followLast);
        if (mount.empty()) return work();
        return RunOn<T>(mount, [work = std::move(work)]() -> std::optional<T> { return work(); });
    }
    // Under the deadline, with the mount's key given by the caller.
    template <class T>
    std::optional<T> RunOn(const std::string& mountPoint, std::function<std::optional<T>()> work) {
        if (!answers(mountPoint)) return std::nullopt;
        auto result = runner_.run<T>(mountPoint, std::move(work));
        if (!result && runner_.Missed(mountPoint)) MarkDead(mountPoint);
        return result;
    }

    PathStatus Stat(const std::string& path);
    PathStatus Lstat(const std::string& path);
    bool IsExecutableFile(const std::string& path);
    // The whole regular file (up to the read cap); nullopt when it cannot be read.
    std::optional<std::string> ReadFile(const std::string& path);
    // Sorted names; empty when the directory cannot be read.
    std::vector<std::string> List(const std::string& path);
    std::string ReadLink(const std::string& path);
    // errno of unlink(2), 0 on success.
    int Unlink(const std::string& path);

private:
    // false when the mount is dead. The first question about any mount that
    // may hang asks every such mount at once, so any number of dead servers
    // costs one deadline together.
    bool answers(const std::string& mountPoint);
    const GuardedMount* holding(std::string_view path) const;

    std::vector<GuardedMount> mounts_;
    bool anyMayHang_ = false;
    std::chrono::milliseconds limit_;
    mutable std::mutex mutex_;
    bool probed_ = false;
    std::set<std::string> dead_;
    DeadlineRunner runner_;
};

}  // namespace si32
