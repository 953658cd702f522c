// A FUSE mount whose server never answers, in a private mount namespace: every
// host access that reaches it must fail instead of holding the caller. The
// checks run in a child process, since the namespace and the hung requests
// belong to it; the parent kills a child that hangs and reports it.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/common/host_read.h"
#include "platform/host/host_backend.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_process.h"
#include "platform/host/registry/host_registry_facts.h"
#include "platform/host/volumes/drive_map_mounts.h"
#include "platform/run_time_error.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

constexpr int kSkip = 77;

// In the child: a private namespace with an unserved FUSE mount at dir.
// Returns why it cannot be made, or "".
std::string mountDeadFuse(const std::string& dir) {
    if (::unshare(CLONE_NEWNS) != 0) return "no private mount namespace";
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return "mounts cannot be made private";
    const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fuse < 0) return "no /dev/fuse";
    const std::string options = "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=" + std::to_string(::getuid()) +
                                ",group_id=" + std::to_string(::getgid());
    // The descriptor stays open and is never read: every request waits.
    if (::mount("si32-dead", dir.c_str(), "fuse", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
        return "FUSE cannot be mounted here";
    return "";
}

struct Check {
    const char* name;
    std::function<bool()> failsAsItShould;
};

// The checks, in the child. Exit status 0 when all hold.
int runChecks(const hosttest::ScratchDir& scratch) {
    const std::string dead = scratch.path() + "/dead";
    if (const std::string why = mountDeadFuse(dead); !why.empty()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return kSkip;
    }
    HostContext context;
    context.prefix = scratch.path() + "/prefix";
    context.executableDir = scratch.path() + "/bin";
    const auto mounts = ParseMountInfo(readUnderRoot("/", "/proc/self/mountinfo").value_or(""));
    context.mounts = std::make_shared<MountGuard>(GuardedMounts("/", mounts), std::chrono::milliseconds(300));
    const DriveMap drives = DriveMap::Build(context);
    HostFiles files(context, drives);
    HostVolumes volumes(context, drives);
    const MachineFacts machine = readMachineFacts(context.root, context.machine);
    HostKernel kernel(context, machine, drives, volumes);
    const auto raises = [](const std::function<void()>& call) {
        try {
            call();
        } catch (const RunTimeError&) {
            return true;
        }
        return false;
    };

    const std::vector<Check> checks{
        {"the product date on a dead drive",
         [&] { return raises([&] { files.FileDateTime("E:\\TARVELLO\\tarvello.exe"); }); }},
        {"a file through a C: link into the dead mount", [&] { return files.Dir("C:\\link\\TRVWIN.INI").empty(); }},
        {"TRVWIN.INI on a dead drive", [&] { return raises([&] { files.OpenForInput("E:\\TRVWIN.INI"); }); }},
        {"changing into a dead folder", [&] { return raises([&] { files.ChDir("E:\\TARVELLO"); }); }},
        {"an INI file on a dead drive",
         [&] {
             std::vector<char> buffer(64);
             const uint32_t n = kernel.GetPrivateProfileStringA("s", "k", "none", buffer, "E:\\X.INI");
             return std::string(buffer.data(), n) == "none";
         }},
        {"the volume of a dead drive",
         [&] {
             std::string label(255, ' '), name(255, ' ');
             uint32_t serial = 0, length = 0, flags = 0;
             return volumes.GetVolumeInformationA("E:\\", label, serial, length, flags, name) == 0;
         }},
        {"free space of a dead drive",
         [&] {
             uint64_t a = 0, b = 0, c = 0;
             return volumes.GetDiskFreeSpaceExA("E:\\", a, b, c) == 0;
         }},
        {"the system-information tool on a dead PATH entry",
         [&] { return !systemInformationTool("/", dead + "/bin", *context.mounts).has_value(); }},
        {"the launcher's lookup on a dead PATH entry",
         [&] {
             const ProgramSearch search{{context.executableDir}, scratch.path(), dead + "/bin", context.mounts};
             return !findProgram("MSINFO32.EXE", std::nullopt, search).has_value();
         }},
        {"a prefix on the dead mount",
         [&] {
             hosttest::ScopedEnv prefix("SI32_PREFIX", dead + "/prefix");
             return makeHostContext().prefix != dead + "/prefix";
         }},
        {"the mount is known dead", [&] { return context.mounts->IsDead(dead); }},
    };
    int failed = 0;
    for (const Check& check : checks)
        if (!check.failsAsItShould()) {
            std::fprintf(stderr, "did not fail: %s\n", check.name);
            ++failed;
        }
    return failed == 0 ? 0 : 1;
}

TEST(DeadMount, EveryAccessFailsInsteadOfHanging) {
    hosttest::ScratchDir scratch;
    scratch.mkdir("dead");
    scratch.mkdir("bin");
    scratch.write("prefix/drive_c/WINDOWS/SYSTEM/TRVWIN.INI", "\"E:\\TARVELLO\",\"C:\"\n");
    scratch.mkdir("prefix/dosdevices");
    ASSERT_EQ(::symlink((scratch.path() + "/dead/share").c_str(), (scratch.path() + "/prefix/dosdevices/e:").c_str()),
              0);
    ASSERT_EQ(::symlink((scratch.path() + "/dead/c").c_str(), (scratch.path() + "/prefix/drive_c/link").c_str()), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(runChecks(scratch));

    // Generous: the point is that the child ends at all.
    int status = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            FAIL() << "an access to the dead mount hung";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kSkip) GTEST_SKIP() << "no private mount namespace or FUSE here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see the child's lines above";
}

}  // namespace
}  // namespace si32
