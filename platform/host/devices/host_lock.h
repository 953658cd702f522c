#pragma once
// The single-instance guard on the host: an advisory lock (flock) on a
// per-user file. The kernel drops the lock when its holder ends, however it
// ends, so an instance that crashed or was killed never blocks the next one;
// and taking it is one atomic step, so two instances started at the same
// moment never both get it.
#include <string>

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

    // $XDG_RUNTIME_DIR (or /tmp when unset) / si32-<uid>-<program>.lock; the
    // window and the report lock different files, so neither ever counts as
    // an instance of the other.
    static std::string PathFor(Program program);

private:
    int fd_ = -1;
    State state_ = State::Unknown;
};

}  // namespace si32
