// The kernel calls over a fixture machine: the real calls' results, count
// conventions and failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/common/host_read.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/run_time_error.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

using hosttest::fixture;
using hosttest::ScratchPrefix;

struct KernelOver {
    ScratchPrefix prefix;
    MachineFacts machine;
    HostVolumes volumes;
    HostKernel kernel;
    // machine: what uname would say there; "" asks this machine's.
    explicit KernelOver(const std::string& root, const std::string& unameMachine = "")
        : prefix(root),
          machine(readMachineFacts(root, unameMachine)),
          volumes(prefix.context, prefix.drives),
          kernel(prefix.context, machine, prefix.drives, volumes) {}
};

TEST(HostKernel, VersionIsTheRunningKernel) {
    KernelOver host(fixture("x86"));
    OsVersionInfoA info;
    ASSERT_NE(host.kernel.GetVersionExA(info), 0);
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 0u);
    EXPECT_GT(info.dwPlatformId, 3u) << "a platform id Windows used";
    EXPECT_STREQ(info.szCSDVersion.data(), "6.1.0-18-amd64");

    OsVersionInfoA wrongSize;
    wrongSize.dwOSVersionInfoSize = 156;
    EXPECT_EQ(host.kernel.GetVersionExA(wrongSize), 0);
    EXPECT_EQ(wrongSize.dwMajorVersion, 0u);

    KernelOver unknown(fixture("empty"));
    OsVersionInfoA none;
    EXPECT_EQ(unknown.kernel.GetVersionExA(none), 0);
}

TEST(HostKernel, TempPathThroughTheDriveMap) {
    KernelOver host(fixture("empty"));
    host.prefix.dir.mkdir("drive_c/Temp Files");
    std::vector<char> buffer(255);
    host.prefix.context.environment.Set("TMPDIR", host.prefix.driveC() + "/Temp Files");
    EXPECT_EQ(host.kernel.GetTempPathA(buffer), 14u);
    EXPECT_STREQ(buffer.data(), "C:\\Temp Files\\");
    // A temporary directory that no drive holds has no Windows name.
    host.prefix.context.environment.Set("TMPDIR", "/nowhere/at/all");
    EXPECT_EQ(host.kernel.GetTempPathA(buffer), 0u);
}

TEST(HostKernel, ProcessorsOnline) {
    KernelOver host(fixture("x86"));
    SystemInfo info;
    host.kernel.GetSystemInfo(info);
    EXPECT_EQ(info.dwNumberOfProcessors, 5u);
    EXPECT_EQ(info.dwActiveProcessorMask, 0x4Fu);
    EXPECT_GT(info.dwPageSize, 0u);
}

TEST(HostKernel, ProcessorAsTheMachineIsDescribed) {
    struct Case {
        const char* tree;
        const char* machine;
        uint16_t architecture;
        uint32_t type;
        uint16_t level, revision;
    };
    const Case cases[] = {
        {"x86", "x86_64", 9, 8664, 6, 0x5507},
        {"x86", "i686", 0, 586, 6, 0x5507},
        {"arm", "aarch64", 12, 2577, 8, 3},
        {"arm32", "armv7l", 5, 2577, 7, 5},
        // A machine whose processor file says nothing still has its codes.
        {"empty", "riscv64", 0x8001, 0, 0, 0},
    };
    for (const Case& c : cases) {
        // The tree's processor file, on a machine whose processors can be counted.
        hosttest::ScratchDir root;
        root.write("proc/cpuinfo", readUnderRoot(fixture(c.tree), "/proc/cpuinfo").value_or(""));
        root.write("sys/devices/system/cpu/online", "0-3\n");
        KernelOver host(root.path(), c.machine);
        SystemInfo info;
        host.kernel.GetSystemInfo(info);
        EXPECT_EQ(info.wProcessorArchitecture, c.architecture) << c.tree << " " << c.machine;
        EXPECT_EQ(info.dwProcessorType, c.type) << c.tree << " " << c.machine;
        EXPECT_EQ(info.wProcessorLevel, c.level) << c.tree << " " << c.machine;
        EXPECT_EQ(info.wProcessorRevision, c.revision) << c.tree << " " << c.machine;
        EXPECT_EQ(info.dwNumberOfProcessors, 4u) << c.tree << " " << c.machine;
    }
}

TEST(HostKernel, MemoryStatusSaturatesTheClassicRecord) {
    KernelOver host(fixture("x86"));
    MemoryStatusEx whole;
    ASSERT_NE(host.kernel.GlobalMemoryStatusEx(whole), 0);
    EXPECT_EQ(whole.ullTotalPhys, 16303436ull * 1024);
    EXPECT_EQ(whole.ullAvailPhys, 4075859ull * 1024);
    EXPECT_EQ(whole.dwMemoryLoad, 75u);
    EXPECT_EQ(whole.ullTotalPageFile, (16303436ull + 2097148) * 1024);
    EXPECT_EQ(whole.ullAvailPageFile, (4075859ull + 2000000) * 1024);
    EXPECT_GE(whole.ullTotalVirtual, whole.ullAvailVirtual);

    MemoryStatus classic;
    host.kernel.GlobalMemoryStatus(classic);
    EXPECT_EQ(classic.dwLength, 32u);
    EXPECT_EQ(classic.dwMemoryLoad, 75u);
    EXPECT_EQ(classic.dwTotalPhys, 0xFFFFFFFFu);
    EXPECT_EQ(classic.dwAvailPhys, 4075859u * 1024);

    KernelOver board(fixture("arm"));
    board.kernel.GlobalMemoryStatus(classic);
    EXPECT_EQ(classic.dwTotalPhys, 3884096u * 1024);
    EXPECT_EQ(classic.dwMemoryLoad, 51u);

    MemoryStatusEx wrongLength;
    wrongLength.dwLength = 32;
    EXPECT_EQ(host.kernel.GlobalMemoryStatusEx(wrongLength), 0);

    KernelOver unknown(fixture("empty"));
    EXPECT_EQ(unknown.kernel.GlobalMemoryStatusEx(whole), 0);
    EXPECT_THROW(unknown.kernel.GlobalMemoryStatus(classic), RunTimeError);
}

TEST(HostKernel, IniFilesBeforeLiveFacts) {
    KernelOver host(fixture("x86"));
    host.prefix.dir.write("drive_c/WINDOWS/SYSTEM.INI",
                          "[boot.description]\r\nmouse.drv=Prefix Mouse\r\ndisplay.drv=\r\n[mci]\r\n");
    host.prefix.dir.write("drive_c/TARVELLO/system.ini", "[mci]\r\ncdaudio=elsewhere\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* file;
        const char* expected;
    };
    const Case cases[] = {
        {"boot.description", "mouse.drv", "system.ini", "Prefix Mouse"},
        // Present but empty: the file has the last word.
        {"boot.description", "display.drv", "system.ini", ""},
        {"boot.description", "keyboard.typ", "system.ini", "English (US, intl., with dead keys), German"},
        {"mci", "cdaudio", "C:\\WINDOWS\\system.ini", "/dev/sr0"},
        {"mci", "cdaudio", "C:\\TARVELLO\\system.ini", "elsewhere"},
        {"boot.description", "shell", "system.ini", "dflt"},
        // Outside the Windows directory the machine has nothing to add.
        {"boot.description", "mouse.drv", "C:\\TARVELLO\\system.ini", "dflt"},
        {"boot.description", "mouse.drv", "Q:\\system.ini", "dflt"},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(255, 'x');
        const uint32_t count = host.kernel.GetPrivateProfileStringA(c.section, c.key, "dflt  ", buffer, c.file);
        EXPECT_EQ(std::string(buffer.data(), count), c.expected) << c.file << " " << c.key;
        EXPECT_EQ(buffer[count], '\0');
    }
    // Cut to the buffer less one, as the real call cuts.
    std::vector<char> small(8);
    EXPECT_EQ(host.kernel.GetPrivateProfileStringA("mci", "cdaudio", "", small, "system.ini"), 7u);
    EXPECT_STREQ(small.data(), "/dev/sr");
    std::vector<char> tiny(2);
    EXPECT_EQ(host.kernel.GetPrivateProfileStringA("boot.description", "mouse.drv", "", tiny, "system.ini"), 1u);
    EXPECT_STREQ(tiny.data(), "P");
}

}  // namespace
}  // namespace si32
