// Files and processes on the host: a current drive, a current directory per
// drive, and every Windows path through the drive map.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_process.h"
#include "platform/host/kernel/host_windows_paths.h"
#include "platform/run_time_error.h"
#include "platform/text_helpers.h"

namespace si32 {
namespace {

// Reads through a buffer, so the byte-at-a-time reader costs no system call
// per byte.
class HostSequentialFile final : public SequentialFile {
public:
    explicit HostSequentialFile(int fd) : fd_(fd) {}
    ~HostSequentialFile() override { ::close(fd_); }
    HostSequentialFile(const HostSequentialFile&) = delete;
    HostSequentialFile& operator=(const HostSequentialFile&) = delete;

    int Get() override {
        if (next_ == end_) {
            ssize_t got;
            do got = ::read(fd_, buffer_, sizeof buffer_);
            while (got < 0 && errno == EINTR);
            if (got < 0) raise(ErrorKind::PlatformFailure, std::string("read: ") + std::strerror(errno));
            if (got == 0) return -1;
            next_ = 0;
            end_ = static_cast<size_t>(got);
        }
        return static_cast<unsigned char>(buffer_[next_++]);
    }

private:
    int fd_;
    unsigned char buffer_[65536];
    size_t next_ = 0, end_ = 0;
};

class TextSequentialFile final : public SequentialFile {
public:
    explicit TextSequentialFile(std::string text) : text_(std::move(text)) {}
    int Get() override { return next_ < text_.size() ? static_cast<unsigned char>(text_[next_++]) : -1; }

private:
    std::string text_;
    size_t next_ = 0;
};

[[noreturn]] void raiseFor(int error, const std::string& path) {
    raise(error == ENOENT || error == ENOTDIR ? ErrorKind::FileNotFound : ErrorKind::PlatformFailure,
          path + ": " + std::strerror(error));
}

std::string baseNameOf(const std::string& hostPath) {
    const size_t slash = hostPath.rfind('/');
    return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

}  // namespace

HostFiles::HostFiles(const HostContext& context, const DriveMap& drives) : context_(context), drives_(drives) {
    // Start where the process was started, when a drive holds that place.
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd) != nullptr)
        if (const auto windows = drives_.ToWindowsPath(cwd); windows && windows->size() >= 3) {
            currentDrive_ = upperAscii((*windows)[0]);
            currentDirs_[currentDrive_] = fullWindowsPath(*windows, currentDrive_, [](char) { return ""; }).substr(3);
        }
}

std::string HostFiles::FullWindowsPath(std::string_view path) const {
    return fullWindowsPath(path, currentDrive_, [this](char letter) {
        const auto it = currentDirs_.find(letter);
        return it == currentDirs_.end() ? std::string() : it->second;
    });
}

std::string HostFiles::HostPathOf(std::string_view path) const {
    if (isHostPath(path)) return std::string(path);
    const std::string full = FullWindowsPath(path);
    const auto host = drives_.ToHostPath(full);
    if (!host) raise(ErrorKind::FileNotFound, full + ": the drive is not available");
    return *host;
}

std::string HostFiles::Dir(std::string_view path) {
    if (path.empty()) return {};
    std::string host;
    try {
        host = HostPathOf(path);
    } catch (const RunTimeError&) {
        return {};
    }
    const PathStatus status = context_.mounts->Stat(host);
    const std::string name = baseNameOf(host);
    // Linux hides a file by its leading dot; folders are never files.
    if (!status.ok() || !S_ISREG(status.info.st_mode) || name.empty() || name.front() == '.') return {};
    return name;
}

void HostFiles::ChDrive(std::string_view drive) {
    if (drive.empty()) return;
    const char letter = upperAscii(drive.front());
    if (drives_.find(letter) == nullptr)
        raise(ErrorKind::PlatformFailure, std::string(1, letter) + ": device unavailable");
    currentDrive_ = letter;
}

void HostFiles::ChDir(std::string_view path) {
    std::string full;
    if (isHostPath(path)) {
        const auto windows = drives_.ToWindowsPath(path);
        if (!windows) raise(ErrorKind::FileNotFound, std::string(path) + ": on no drive");
        full = FullWindowsPath(*windows);
    } else {
        full = FullWindowsPath(path);
    }
    const std::string host = HostPathOf(full);
    const PathStatus status = context_.mounts->Stat(host);
    if (!status.ok() || !S_ISDIR(status.info.st_mode)) raise(ErrorKind::FileNotFound, full + ": path not found");
    currentDirs_[full[0]] = full.substr(3);
}

std::string HostFiles::CurDir() {
    const auto it = currentDirs_.find(currentDrive_);
    return std::string{currentDrive_, ':', '\\'} + (it == currentDirs_.end() ? std::string() : it->second);
}

std::unique_ptr<SequentialFile> HostFiles::OpenForInput(std::string_view path) {
    const std::string host = HostPathOf(path);
    // A file on a server is read whole under the deadline, so no later read
    // can hang on it.
    if (!context_.mounts->HangingMountOf(host).empty()) {
        auto text = context_.mounts->ReadFile(host);
        if (!text) raise(ErrorKind::PlatformFailure, host + ": cannot be read in time");
        return std::make_unique<TextSequentialFile>(std::move(*text));
    }
    // Without O_NONBLOCK a FIFO would hold the open until a writer comes;
    // only a regular file is read (a device like /dev/zero never ends).
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) raiseFor(errno, host);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        raise(ErrorKind::PlatformFailure, host + ": not a regular file");
    }
    return std::make_unique<HostSequentialFile>(fd);
}

DateTime HostFiles::FileDateTime(std::string_view path) {
    const std::string host = HostPathOf(path);
    const PathStatus status = context_.mounts->Stat(host);
    if (!status.ok()) raiseFor(status.error, host);
    std::tm local{};
    if (::localtime_r(&status.info.st_mtime, &local) == nullptr)
        raise(ErrorKind::Overflow, host + ": date out of range");
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

void HostFiles::Kill(std::string_view path) {
    const std::string host = HostPathOf(path);
    if (const int error = context_.mounts->Unlink(host); error != 0) raiseFor(error, host);
}

std::string HostFiles::programFor(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty()) raise(ErrorKind::FileNotFound, "no program named");
    std::optional<std::string> asWritten;
    try {
        asWritten = HostPathOf(argv.front());
    } catch (const RunTimeError&) {
    }
    const std::string directory = HostPathOf(CurDir());
    const auto program = findProgram(argv.front(), asWritten,
                                     ProgramSearch{{context_.executableDir, context_.libexecDir},
                                                   directory,
                                                   context_.environment.Get("PATH"),
                                                   context_.mounts});
    if (!program) raise(ErrorKind::FileNotFound, argv.front() + ": file not found");
    return *program;
}

uint32_t HostFiles::Shell(const std::vector<std::string>& argv, int32_t) {
    // The window style is the window manager's business on Linux.
    const std::string program = programFor(argv);
    std::vector<std::string> args = argv;
    args.front() = program;
    const uint32_t pid = spawnProgram(program, args, HostPathOf(CurDir()));
    started_.push_back(argv.front());
    return pid;
}

std::optional<bool> HostFiles::WouldStart(const std::vector<std::string>& argv) {
    try {
        programFor(argv);
        return true;
    } catch (const RunTimeError&) {
        return false;
    }
}

bool HostFiles::WaitForExit(uint32_t processId, uint32_t milliseconds) {
    return waitForProgram(processId, milliseconds);
}

std::vector<std::string> HostFiles::Started() const { return started_; }

}  // namespace si32
