#include "platform/host/common/mount_guard.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <condition_variable>
#include <system_error>
#include <thread>

#include "platform/contract/deadlines.h"
#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

std::string joined(const std::vector<std::string>& names, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) path += "/" + names[i];
    return path.empty() ? "/" : path;
}

std::string readLink(const std::string& path) {
    char target[PATH_MAX];
    const auto length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// Threads asking each mount at once; shared with them, since a thread on a
// dead server outlives the question.
struct Probe {
    std::mutex mutex;
    std::condition_variable done;
    std::set<std::string> answered;
    std::size_t pending = 0;
};

}  // namespace

MountGuard::MountGuard() : MountGuard({}, kDriveDeadline) {}

MountGuard::MountGuard(std::vector<GuardedMount> mounts, std::chrono::milliseconds limit)
    : mounts_(std::move(mounts)), limit_(limit), runner_(limit) {
    for (const auto& mount : mounts_) anyMayHang_ = anyMayHang_ || mount.mayHang;
}

MountGuard::~MountGuard() = default;

const GuardedMount* MountGuard::holding(std::string_view path) const {
    const GuardedMount* best = nullptr;
    for (const auto& mount : mounts_)
        if (pathWithin(path, mount.mountPoint) &&
            (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size()))
            best = &mount;
    return best;
}

std::string MountGuard::HangingMountOf(std::string_view path, bool followLast) const {
    if (!anyMayHang_ || path.empty() || path.front() != '/') return {};
    // Walk the path name by name: a link on a local mount may lead onto a
    // network one, and a name on a network mount must not be asked about.
    std::vector<std::string> names = pathNames(path);
    int links = 0;
    for (std::size_t count = 1; count <= names.size(); ++count) {
        const std::string prefix = joined(names, count);
        if (const auto* mount = holding(prefix); mount != nullptr && mount->mayHang) return mount->mountPoint;
        if (count == names.size() && !followLast) break;
        struct stat info {};
        if (::lstat(prefix.c_str(), &info) != 0 || !S_ISLNK(info.st_mode) || ++links > 40) continue;
        const std::string target = readLink(prefix);
        if (target.empty()) continue;
        std::string rest;
        for (std::size_t i = count; i < names.size(); ++i) rest += "/" + names[i];
        names = pathNames(target.front() == '/' ? target + rest : joined(names, count - 1) + "/" + target + rest);
        count = 0;
    }
    const auto* mount = holding(joined(names, names.size()));
    return mount != nullptr && mount->mayHang ? mount->mountPoint : std::string();
}

bool MountGuard::IsDead(const std::string& mountPoint) const {
    std::lock_guard lock(mutex_);
    return dead_.count(mountPoint) != 0;
}

void MountGuard::MarkDead(const std::string& mountPoint) {
    std::lock_guard lock(mutex_);
    dead_.insert(mountPoint);
}

bool MountGuard::answers(const std::string& mountPoint) {
    std::unique_lock lock(mutex_);
    if (!probed_) {
        probed_ = true;
        auto probe = std::make_shared<Probe>();
        std::vector<std::string> asked;
        for (const auto& mount : mounts_) {
            if (!mount.mayHang) continue;
            try {
                std::thread([probe, point = mount.mountPoint] {
                    struct statvfs info {};
                    ::statvfs(point.c_str(), &info);  // any answer, even an error, is an answer
                    std::lock_guard done(probe->mutex);
                    probe->answered.insert(point);
                    --probe->pending;
                    probe->done.notify_all();
                }).detach();
            } catch (const std::system_error&) {
                continue;  // unasked: its own first access runs under the deadline
            }
            std::lock_guard count(probe->mutex);
            ++probe->pending;
            asked.push_back(mount.mountPoint);
        }
        std::unique_lock wait(probe->mutex);
        probe->done.wait_for(wait, limit_, [&] { return probe->pending == 0; });
        for (const auto& point : asked)
            if (probe->answered.count(point) == 0) dead_.insert(point);
    }
    return dead_.count(mountPoint) == 0;
}

PathStatus MountGuard::Stat(const std::string& path) {
    const auto status = Run<PathStatus>(path, [path] {
        PathStatus answer;
        if (::stat(path.c_str(), &answer.info) != 0) answer.error = errno;
        return answer;
    });
    return status.value_or(PathStatus{ETIMEDOUT, {}});
}

PathStatus MountGuard::Lstat(const std::string& path) {
    const auto status = Run<PathStatus>(
        path,
        [path] {
            PathStatus answer;
            if (::lstat(path.c_str(), &answer.info) != 0) answer.error = errno;
            return answer;
        },
        false);
    return status.value_or(PathStatus{ETIMEDOUT, {}});
}

bool MountGuard::IsExecutableFile(const std::string& path) {
    return Run<bool>(path,
                     [path] {
                         struct stat info {};
                         return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                                ::access(path.c_str(), X_OK) == 0;
                     })
        .value_or(false);
}

std::optional<std::string> MountGuard::ReadFile(const std::string& path) {
    return Run<std::optional<std::string>>(path, [path] { return readUnderRoot("/", path); }).value_or(std::nullopt);
}

std::vector<std::string> MountGuard::List(const std::string& path) {
    return Run<std::vector<std::string>>(path, [path] { return listUnderRoot("/", path); })
        .value_or(std::vector<std::string>());
}

std::string MountGuard::ReadLink(const std::string& path) {
    return Run<std::string>(
               path, [path] { return readLink(path); }, false)
        .value_or("");
}

int MountGuard::Unlink(const std::string& path) {
    return Run<int>(
               path, [path] { return ::unlink(path.c_str()) == 0 ? 0 : errno; }, false)
        .value_or(ETIMEDOUT);
}

}  // namespace si32
