#pragma once
// The single-instance guard on the host: an advisory lock (flock) on a file
// per user and display. The kernel drops the lock when its holder ends,
// however it ends, so an instance that crashed or was killed never blocks the
// next one; and taking it is one atomic step, so two instances started at the
// same moment never both get it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/common/host_context.h"
#include "platform/platform.h"

namespace si32 {

class InstanceLock {
public:
    enum class State {
        Held,     // this process holds it
        Busy,     // another process holds it
        Unknown,  // the lock file could not be used: nothing can be said
    };

    // Tries once, never waits. The lock is kept until the object is
    // destroyed; programs the holder starts do not inherit it.
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }

private:
    int fd_ = -1;
    State state_ = State::Unknown;
};

// The display a window of this process goes to, as Qt chooses it: the
// platform QT_QPA_PLATFORM names, else the Wayland socket wherever
// WAYLAND_DISPLAY or a Wayland session announces one, else the X display
// without its screen number ("x11::1"); "" when no display is named.
std::string displayScope(const HostEnvironment& environment);

// si32-<uid>-<program>[-<display>].lock, the display spelt so that any name
// is one safe file name. The window and the report lock different files, so
// neither ever counts as an instance of the other.
std::string lockFileName(Program program, std::string_view display);

// <base>/si32-<uid>, created with mode 0700 when missing; nullopt unless it
// is a directory (not a link) this user owns that nobody else may enter.
std::optional<std::string> privateLockDirectory(const std::string& base);

// Takes the lock file named in runtimeDir ($XDG_RUNTIME_DIR; skipped unless
// an absolute path) or, when that file cannot be used (an unwritable
// directory, another user's file or a link planted there), in the private
// directory under fallbackBase ($TMPDIR or /tmp). nullptr when neither place can hold it.
std::unique_ptr<InstanceLock> takeInstanceLock(const std::string& fileName, const std::string& runtimeDir,
                                               const std::string& fallbackBase);

}  // namespace si32
