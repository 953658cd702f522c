#include "platform/capture/capture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace si32::capture {
namespace {

std::string failure(const std::string& path, int error) { return path + ": " + std::strerror(error); }

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// The descriptor a name of one of this process's open streams stands for;
// -1 for any other name.
int streamDescriptor(const std::string& path) {
    if (path == "/dev/stdout") return STDOUT_FILENO;
    if (path == "/dev/stderr") return STDERR_FILENO;
    for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        const std::string_view p(prefix);
        if (!path.starts_with(p) || path.size() == p.size() || path.size() > p.size() + 9) continue;
        int fd = 0;
        for (char c : path.substr(p.size())) {
            if (c < '0' || c > '9') return -1;
            fd = fd * 10 + (c - '0');
        }
        return fd;
    }
    return -1;
}

std::optional<std::string> writeStream(int fd, const std::string& path, const std::string& text) {
    if (!writeAll(fd, text)) return failure(path, errno);
    return std::nullopt;
}

std::optional<std::string> writeInPlace(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failure(path, errno);
    const bool written = writeAll(fd, text);
    const int error = errno;
    if (::close(fd) != 0 && written) return failure(path, errno);
    if (!written) return failure(path, error);
    return std::nullopt;
}

// The temporary name of the write in progress, for the signal handler,
// which may only touch plain static storage.
int g_pendingFolder = -1;
std::array<char, 32> g_pendingName{};
volatile std::sig_atomic_t g_pending = 0;

constexpr std::array<int, 3> kInterrupts = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removePendingAndEnd(int signal) {
    if (g_pending != 0) ::unlinkat(g_pendingFolder, g_pendingName.data(), 0);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// While it lives, an interrupt removes the pending name before the process
// ends as the signal would have ended it. A signal the process ignores stays
// ignored.
class InterruptCleanup {
public:
    explicit InterruptCleanup(int folder) {
        g_pendingFolder = folder;
        struct sigaction action = {};
        action.sa_handler = removePendingAndEnd;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < kInterrupts.size(); ++i) {
            ::sigaction(kInterrupts[i], nullptr, &previous_[i]);
            if (previous_[i].sa_handler != SIG_IGN) ::sigaction(kInterrupts[i], &action, nullptr);
        }
    }
    ~InterruptCleanup() {
        g_pending = 0;
        for (size_t i = 0; i < kInterrupts.size(); ++i) ::sigaction(kInterrupts[i], &previous_[i], nullptr);
    }
    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

    // Runs make with the interrupts held, so that a name is pending exactly
    // while it exists: make gives the name a file (0, or an errno value).
    template <class Make>
    int name(Make&& make) {
        sigset_t interrupts, before;
        sigemptyset(&interrupts);
        for (int s : kInterrupts) sigaddset(&interrupts, s);
        ::sigprocmask(SIG_BLOCK, &interrupts, &before);
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            pick();
            error = make(g_pendingName.data());
        }
        if (error == 0) g_pending = 1;
        ::sigprocmask(SIG_SETMASK, &before, nullptr);
        return error;
    }
    const char* pending() const { return g_pendingName.data(); }
    bool named() const { return g_pending != 0; }
    void done() { g_pending = 0; }

private:
    // ".si32-" and six letters: short, so that it fits beside any valid name.
    static void pick() {
        static unsigned state = static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(std::time(nullptr));
        constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::strcpy(g_pendingName.data(), ".si32-");
        for (size_t i = 6; i < 12; ++i) {
            state = state * 1103515245u + 12345u;
            g_pendingName[i] = kLetters[(state >> 16) % (sizeof kLetters - 1)];
        }
        g_pendingName[12] = '\0';
    }
    std::array<struct sigaction, kInterrupts.size()> previous_{};
};

struct Replacement {
    int folder = -1;
    std::string name;    // the target's name in folder
    mode_t mode = 0600;  // the mode the new file gets
    std::optional<std::pair<uid_t, gid_t>> owner;
};

// The text in a file of the folder that nobody else can open yet, flushed;
// -1 with errno on failure. unnamed: made with O_TMPFILE, else pending under
// a temporary name.
int filledFile(const Replacement& r, const std::string& text, InterruptCleanup& cleanup, bool& unnamed) {
    int fd = unnamed ? ::openat(r.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
    unnamed = fd >= 0;
    if (!unnamed) {
        const int error = cleanup.name([&](const char* name) {
            fd = ::openat(r.folder, name, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            return fd >= 0 ? 0 : errno;
        });
        if (error != 0) {
            errno = error;
            return -1;
        }
    }
    // Another user's file stays theirs where the system lets it; where not,
    // the mode still keeps its readers to those it had.
    if (r.owner && ::fchown(fd, r.owner->first, r.owner->second) != 0) errno = 0;
    // Exact, whatever the umask.
    if (::fchmod(fd, r.mode) != 0 || !writeAll(fd, text) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Gives an unnamed file a pending name; errno value or 0.
int linkUnnamed(int fd, const Replacement& r, InterruptCleanup& cleanup) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return cleanup.name([&](const char* name) {
        if (::linkat(AT_FDCWD, self.c_str(), r.folder, name, AT_SYMLINK_FOLLOW) == 0) return 0;
        const int error = errno;
        if (error == EEXIST) return error;
        // Without /proc, the descriptor itself (allowed to some only).
        return ::linkat(fd, "", r.folder, name, AT_EMPTY_PATH) == 0 ? 0 : errno;
    });
}

// errno value or 0. unnamed: whether to try O_TMPFILE first.
int replace(const Replacement& r, const std::string& text, bool unnamed) {
    InterruptCleanup cleanup(r.folder);
    const int fd = filledFile(r, text, cleanup, unnamed);
    if (fd < 0) return errno;
    if (unnamed && linkUnnamed(fd, r, cleanup) != 0) {
        // An unnamed file this system cannot name (no /proc): once more,
        // named from the start.
        ::close(fd);
        return replace(r, text, false);
    }
    int error = ::close(fd) != 0 ? errno : 0;
    if (error == 0 && ::renameat(r.folder, cleanup.pending(), r.folder, r.name.c_str()) != 0) error = errno;
    if (error != 0) {
        if (cleanup.named()) ::unlinkat(r.folder, cleanup.pending(), 0);
        return error;
    }
    cleanup.done();
    // The new name on the disk too; a folder that cannot be flushed still
    // holds the file.
    ::fsync(r.folder);
    return 0;
}

std::optional<std::string> replaceRegular(const std::string& path, const std::string& text,
                                          const struct stat* existing) {
    std::filesystem::path target(path);
    if (existing != nullptr) {
        // Through a link: the file it names is the one to replace.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) return failure(path, errno);
        target = resolved;
    }
    Replacement r;
    r.name = target.filename().string();
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    if (r.name.empty() || r.name == "." || r.name == "..") return failure(path, EISDIR);
    if (existing != nullptr) {
        r.mode = existing->st_mode & 0777;
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())
            r.owner = std::make_pair(existing->st_uid, existing->st_gid);
    }
    r.folder = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (r.folder < 0) return failure(path, errno);
    const int error = replace(r, text, true);
    ::close(r.folder);
    if (error != 0) return failure(path, error);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteFileWhole(const std::string& path, const std::string& text) {
    if (const int fd = streamDescriptor(path); fd >= 0) return writeStream(fd, path, text);
    struct stat existing = {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) return writeInPlace(path, text);
        return replaceRegular(path, text, &existing);
    }
    if (errno != ENOENT) return failure(path, errno);
    return replaceRegular(path, text, nullptr);
}

}  // namespace si32::capture
