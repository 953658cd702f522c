// Where the Windows side of the machine lives: the user's prefix when there
// is one, else the default prefix installed beside the program.
//
// The user's prefix is found by its contents, not by its existing: an
// installation into ~/.local puts its own data (share/si32/prefix,
// share/si32/machines) inside ~/.local/share/si32, which is no Windows side.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/contract/deadlines.h"
#include "platform/host/common/host_read.h"
#include "platform/host/host_backend.h"
#include "platform/host/volumes/drive_map_mounts.h"
#include "platform/install_layout.h"

namespace si32 {
namespace {

// Each is named where it is read; one missing here reads as unset there.
constexpr const char* kHeededVariables[] = {
    "SI32_PREFIX",
    "XDG_DATA_HOME",
    "HOME",  // the prefix
    "PATH",
    "TMPDIR",  // programs, the temporary directory
    "LC_ALL",
    "LC_NUMERIC",
    "LC_TIME",
    "LC_ADDRESS",
    "LANG",  // the locale
    "DISPLAY",
    "WAYLAND_DISPLAY",
    "XDG_SESSION_TYPE",
    "QT_QPA_PLATFORM",  // the display
    "XDG_RUNTIME_DIR",  // the instance lock
    "CUPS_SERVER",
    "CUPS_SERVERROOT",
    "IPP_PORT",  // the printer
};

// A prefix on a dead server is no prefix: the default one stands in.
bool isDirectory(MountGuard& mounts, const std::string& path) {
    if (path.empty()) return false;
    const PathStatus status = mounts.Stat(path);
    return status.ok() && S_ISDIR(status.info.st_mode);
}

bool isRegularFile(MountGuard& mounts, const std::string& path) {
    const PathStatus status = mounts.Stat(path);
    return status.ok() && S_ISREG(status.info.st_mode);
}

bool holdsWindowsSide(MountGuard& mounts, const std::string& prefix) {
    return isDirectory(mounts, prefix) &&
           (isDirectory(mounts, prefix + "/drive_c") || isDirectory(mounts, prefix + "/dosdevices") ||
            isRegularFile(mounts, prefix + "/registry.reg"));
}

}  // namespace

std::string programsDirectory() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return {};
    std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash == 0 ? 1 : slash);
}

namespace {

std::string userPrefix(const HostEnvironment& environment) {
    std::string chosen = environment.Get("SI32_PREFIX");
    if (!chosen.empty()) return chosen;
    std::string data = environment.Get("XDG_DATA_HOME");
    if (data.empty()) {
        const std::string home = environment.Get("HOME");
        if (home.empty()) return {};
        data = home + "/.local/share";
    }
    return data + "/si32";
}

}  // namespace

HostEnvironment processEnvironment() {
    HostEnvironment environment;
    for (const char* name : kHeededVariables)
        if (const char* value = std::getenv(name)) environment.Set(name, value);
    return environment;
}

HostContext makeHostContext() {
    HostContext context;
    context.environment = processEnvironment();
    context.mountTable = std::make_shared<const std::vector<MountEntry>>(
        ParseMountInfo(readUnderRoot(context.root, "/proc/self/mountinfo").value_or("")));
    context.mounts = std::make_shared<MountGuard>(GuardedMounts(context.root, *context.mountTable), kDriveDeadline);
    context.executableDir = programsDirectory();
    context.libexecDir = context.executableDir + "/" + kLibexecFromPrograms;
    const std::string user = userPrefix(context.environment);
    if (holdsWindowsSide(*context.mounts, user)) {
        context.prefix = user;
        context.prefixWritable =
            context.mounts->Run<bool>(user, [user] { return ::access(user.c_str(), W_OK) == 0; }).value_or(false);
    } else {
        // Never written: it belongs to the installation, not to the user.
        context.prefix = context.executableDir + "/" + kDataFromPrograms + "/si32/prefix";
        context.prefixWritable = false;
    }
    return context;
}

}  // namespace si32
