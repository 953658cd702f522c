#pragma once
// Where the host backend reads from. Every file it reads (/proc, /sys, /etc,
// /run and the prefix) is read relative to root, so tests can run the real
// host code over small fixture trees.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/common/mount_guard.h"

namespace si32 {

// The environment variables the backend heeds, read once when the context is
// made: every service takes them from here, so all of them answer from one
// reading, and a test states the environment it runs in without changing the
// process's.
class HostEnvironment {
public:
    // "" when unset: the backend treats an empty variable as an unset one.
    std::string Get(std::string_view name) const {
        const auto found = values_.find(name);
        return found == values_.end() ? std::string() : found->second;
    }
    HostEnvironment& Set(std::string name, std::string value) {
        values_[std::move(name)] = std::move(value);
        return *this;
    }

private:
    std::map<std::string, std::string, std::less<>> values_;
};

struct HostContext {
    std::string root = "/";       // "/" in production; a fixture tree in tests
    std::string prefix;           // the Windows side: drive_c/, dosdevices/, registry.reg
    bool prefixWritable = false;  // false for the default prefix installed with the program
    std::string executableDir;    // where the Si32 programs are
    std::string machine = {};     // uname's hardware name ("x86_64"); "" asks uname
    // Every access to the prefix, the drives and the search path goes through
    // it; shared by the copies of the context.
    std::shared_ptr<MountGuard> mounts = std::make_shared<MountGuard>();
    std::string libexecDir = {};  // where their helper programs (reschk) are installed
    HostEnvironment environment = {};
};

}  // namespace si32
