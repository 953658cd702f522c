#include "platform/host/devices/host_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace si32 {
namespace {

// ":0.0" and ":0" are one display; the screen number only picks a monitor.
std::string withoutScreen(std::string display) {
    const size_t colon = display.rfind(':');
    const size_t dot = display.rfind('.');
    if (colon != std::string::npos && dot != std::string::npos && dot > colon) display.erase(dot);
    return display;
}

std::string waylandSocket(const HostEnvironment& environment) {
    const std::string socket = environment.Get("WAYLAND_DISPLAY");
    return "wayland:" + (socket.empty() ? std::string("wayland-0") : socket);
}

}  // namespace

InstanceLock::InstanceLock(const std::string& path) {
    // O_NOFOLLOW and the owner check keep another user's planted file or link
    // in a shared /tmp from deciding whether this user's program may run;
    // O_NONBLOCK keeps a planted FIFO from holding the open.
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd_ < 0) return;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    int rc = 0;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::Busy : State::Unknown;
    ::close(fd_);
    fd_ = -1;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::string displayScope(const HostEnvironment& environment) {
    const std::string platform = environment.Get("QT_QPA_PLATFORM");
    const std::string chosen = platform.substr(0, platform.find_first_of(":;"));
    if (chosen.starts_with("wayland")) return waylandSocket(environment);
    if (chosen == "xcb") return "x11:" + withoutScreen(environment.Get("DISPLAY"));
    if (!chosen.empty()) return chosen;
    // Qt's own choice: Wayland first wherever a compositor is announced,
    // X11 otherwise.
    if (!environment.Get("WAYLAND_DISPLAY").empty() || environment.Get("XDG_SESSION_TYPE") == "wayland")
        return waylandSocket(environment);
    const std::string display = environment.Get("DISPLAY");
    return display.empty() ? "" : "x11:" + withoutScreen(display);
}

std::string lockFileName(Program program, std::string_view display) {
    std::string name = "si32-" + std::to_string(::geteuid()) + (program == Program::Window ? "-window" : "-report");
    if (!display.empty()) {
        name += '-';
        // Letters, digits, '-' and '.' stand as they are; every other byte is
        // spelt in hex, so two displays never share a name.
        static constexpr char kHex[] = "0123456789abcdef";
        for (const char c : display) {
            const auto byte = static_cast<unsigned char>(c);
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (plain || c == '-' || c == '.') name += c;
            else name += {'_', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return name + ".lock";
}

std::optional<std::string> privateLockDirectory(const std::string& base) {
    const std::string path = base + "/si32-" + std::to_string(::geteuid());
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 077) != 0)
        return std::nullopt;
    return path;
}

std::unique_ptr<InstanceLock> takeInstanceLock(const std::string& fileName, const std::string& runtimeDir,
                                               const std::string& fallbackBase) {
    if (runtimeDir.starts_with('/')) {
        auto lock = std::make_unique<InstanceLock>(runtimeDir + "/" + fileName);
        if (lock->state() != InstanceLock::State::Unknown) return lock;
    }
    // Made only when needed: most sessions never leave a trace in /tmp.
    if (const auto fallback = privateLockDirectory(fallbackBase)) {
        auto lock = std::make_unique<InstanceLock>(*fallback + "/" + fileName);
        if (lock->state() != InstanceLock::State::Unknown) return lock;
    }
    return nullptr;
}

}  // namespace si32
