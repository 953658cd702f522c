// Kernel calls of the simulated machine: what it answers from its
// description, outputs untouched on failure.
#include <gtest/gtest.h>

#include <ostream>

#include <array>
#include <string>
#include <vector>

#include "tests/platform/sim/sim_test_support.h"

namespace si32::simtest {
namespace {

constexpr const char* kMachine = R"({
  "version": { "platform_id": 2, "major": 5, "minor": 1, "build": 2600 },
  "directories": { "windows": "C:\\WINDOWS", "temp": "C:\\TEMP\\" },
  "computer_name": "OFFICE-PC",
  "user_name": "alice",
  "memory": { "load": 25, "total_physical": 8589934592 },
  "processor": { "count": 2, "type": 8664 },
  "files": { "C:\\WINDOWS\\system.ini": { "text": "[boot.description]\r\nkeyboard.typ=Standard\r\n" } },
  "drives": [
    { "letter": "C", "type": 3, "label": "SYSTEM", "serial": 3000000000, "max_component": 255, "flags": 3,
      "file_system": "FAT32", "sectors_per_cluster": 8, "bytes_per_sector": 512, "free_clusters": 366210,
      "total_clusters": 4883125, "free_bytes_to_caller": 1500000000, "total_bytes": 20000000000,
      "total_free_bytes": 1600000000 },
    { "letter": "D", "type": 5, "volume_fails": true, "space_fails": true },
    { "letter": "N", "type": 4, "label": "\\\\server\\share" }
  ]
})";

// The buffer conventions themselves are in the contract test, which holds
// both backends to them; here, what only a description can say.
TEST(KernelDirectories, AnAbsentEntryFailsAndTheTempPathKeepsItsBackslash) {
    TestMachine m(kMachine);
    std::string buffer(260, '#');
    EXPECT_EQ(0u, m.platform().kernel.GetSystemDirectoryA(buffer));
    EXPECT_EQ(std::string(260, '#'), buffer);
    EXPECT_EQ(8u, m.platform().kernel.GetTempPathA(buffer));
    EXPECT_EQ("C:\\TEMP\\", buffer.substr(0, buffer.find('\0')));
    TestMachine nameless("{}");
    uint32_t size = 260;
    EXPECT_EQ(0, nameless.platform().kernel.GetComputerNameA(buffer, size));
    EXPECT_EQ(0, nameless.platform().registry.GetUserNameA(buffer, size));
}

TEST(KernelVersion, FailsUnlessTheRecordSizeIs148) {
    TestMachine m(kMachine);
    OsVersionInfoA info;
    EXPECT_NE(0, m.platform().kernel.GetVersionExA(info));
    EXPECT_EQ(2u, info.dwPlatformId);
    EXPECT_EQ(5u, info.dwMajorVersion);
    EXPECT_EQ(2600u, info.dwBuildNumber);
    OsVersionInfoA wrong;
    wrong.dwOSVersionInfoSize = 156;
    EXPECT_EQ(0, m.platform().kernel.GetVersionExA(wrong));
    EXPECT_EQ(0u, wrong.dwMajorVersion);
    TestMachine bare("{}");
    EXPECT_EQ(0, bare.platform().kernel.GetVersionExA(info));
}

TEST(KernelMemory, ClassicRecordSaturatesTheExtendedOneIsWhole) {
    TestMachine m(kMachine);
    MemoryStatus status;
    m.platform().kernel.GlobalMemoryStatus(status);
    EXPECT_EQ(25u, status.dwMemoryLoad);
    EXPECT_EQ(0xFFFFFFFFu, status.dwTotalPhys);
    MemoryStatusEx ex;
    ASSERT_NE(0, m.platform().kernel.GlobalMemoryStatusEx(ex));
    EXPECT_EQ(8589934592u, ex.ullTotalPhys);
    EXPECT_EQ(6442450944u, ex.ullAvailPhys);
    MemoryStatusEx wrongLength;
    wrongLength.dwLength = 32;
    EXPECT_EQ(0, m.platform().kernel.GlobalMemoryStatusEx(wrongLength));
}

TEST(KernelSystemInfo, ProcessorCountTypeAndArchitecture) {
    TestMachine m(kMachine);
    SystemInfo info;
    m.platform().kernel.GetSystemInfo(info);
    EXPECT_EQ(2u, info.dwNumberOfProcessors);
    EXPECT_EQ(8664u, info.dwProcessorType);
    EXPECT_EQ(9, info.wProcessorArchitecture);
    EXPECT_EQ(3u, info.dwActiveProcessorMask);
}

struct IniCase {
    const char* machine;
    const char* fileName;
    std::string value;
};

void PrintTo(const IniCase& c, std::ostream* out) { *out << c.fileName; }

class IniFiles : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniFiles, BareNamesLiveInTheWindowsDirectory) {
    TestMachine m(GetParam().machine);
    std::array<char, 255> buffer{};
    uint32_t count = m.platform().kernel.GetPrivateProfileStringA("boot.description", "keyboard.typ", "none", buffer,
                                                                  GetParam().fileName);
    EXPECT_EQ(GetParam().value, std::string(buffer.data(), count));
}

constexpr const char* kNoWindowsDirectory =
    R"({"files": { "C:\\WINDOWS\\system.ini": { "text": "[boot.description]\r\nkeyboard.typ=Standard\r\n" } }})";

INSTANTIATE_TEST_SUITE_P(
    Names, IniFiles,
    ::testing::Values(IniCase{kMachine, "system.ini", "Standard"}, IniCase{kMachine, "SYSTEM.INI", "Standard"},
                      IniCase{kMachine, "c:\\windows\\System.Ini", "Standard"}, IniCase{kMachine, "win.ini", "none"},
                      IniCase{kMachine, "C:\\system.ini", "none"}, IniCase{kNoWindowsDirectory, "system.ini", "none"},
                      IniCase{kNoWindowsDirectory, "C:\\WINDOWS\\system.ini", "Standard"}));

struct VolumeCase {
    const char* root;
    size_t nameLength, fileSystemLength;
    int32_t result;
    std::string name, fileSystem;  // the buffers afterwards
    uint32_t serial;               // 7 when left untouched
};

void PrintTo(const VolumeCase& c, std::ostream* out) {
    *out << c.root << "/" << c.nameLength << "/" << c.fileSystemLength;
}

class Volumes : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(Volumes, TextsOnlyWhenTheyFitNumbersOnlyOnSuccess) {
    TestMachine m(kMachine);
    const VolumeCase& c = GetParam();
    std::string name(c.nameLength, ' '), fileSystem(c.fileSystemLength, ' ');
    uint32_t serial = 7, maxComponent = 7, flags = 7;
    EXPECT_EQ(c.result,
              m.platform().kernel.GetVolumeInformationA(c.root, name, serial, maxComponent, flags, fileSystem));
    EXPECT_EQ(c.name, name);
    EXPECT_EQ(c.fileSystem, fileSystem);
    EXPECT_EQ(c.serial, serial);
    EXPECT_EQ(c.result != 0 ? 255u : 7u, maxComponent);
}

INSTANTIATE_TEST_SUITE_P(
    Roots, Volumes,
    ::testing::Values(VolumeCase{"c:\\", 8, 7, 1, std::string("SYSTEM\0 ", 8), std::string("FAT32\0 ", 7), 3000000000u},
                      VolumeCase{"C:\\", 7, 6, 1, std::string("SYSTEM\0", 7), std::string("FAT32\0", 6), 3000000000u},
                      VolumeCase{"C:\\", 6, 6, 0, "      ", "      ", 7},      // label does not fit
                      VolumeCase{"C:\\", 7, 5, 0, "       ", "     ", 7},      // file system does not fit
                      VolumeCase{"C:\\", 0, 0, 1, "", "", 3000000000u},        // neither text asked for
                      VolumeCase{"d:\\", 8, 8, 0, "        ", "        ", 7},  // volume_fails
                      VolumeCase{"Q:\\", 8, 8, 0, "        ", "        ", 7},  // no such drive
                      VolumeCase{"C:\\WINDOWS", 8, 8, 0, "        ", "        ", 7}));

TEST(KernelDrives, TypeOfListedUnlistedAndMalformedRoots) {
    TestMachine m(kMachine);
    Kernel& k = m.platform().kernel;
    EXPECT_EQ(DRIVE_FIXED, k.GetDriveTypeA("c:\\"));
    EXPECT_EQ(DRIVE_CDROM, k.GetDriveTypeA("D:\\"));
    EXPECT_EQ(DRIVE_REMOTE, k.GetDriveTypeA("n:"));
    EXPECT_EQ(DRIVE_NO_ROOT_DIR, k.GetDriveTypeA("Q:\\"));
    EXPECT_EQ(DRIVE_NO_ROOT_DIR, k.GetDriveTypeA("C:\\WINDOWS"));
}

TEST(KernelDrives, FreeSpaceAnswersOrFailsLeavingOutputs) {
    TestMachine m(kMachine);
    Kernel& k = m.platform().kernel;
    uint32_t spc = 9, bps = 9, free = 9, total = 9;
    ASSERT_NE(0, k.GetDiskFreeSpaceA("C:\\", spc, bps, free, total));
    EXPECT_EQ((std::vector<uint32_t>{8, 512, 366210, 4883125}), (std::vector<uint32_t>{spc, bps, free, total}));
    uint64_t caller = 9, bytes = 9, freeBytes = 9;
    ASSERT_NE(0, k.GetDiskFreeSpaceExA("C:\\WINDOWS\\", caller, bytes, freeBytes));
    EXPECT_EQ((std::vector<uint64_t>{1500000000u, 20000000000u, 1600000000u}),
              (std::vector<uint64_t>{caller, bytes, freeBytes}));
    for (const char* root : {"D:\\", "Q:\\"}) {
        spc = bps = free = total = 9;
        caller = bytes = freeBytes = 9;
        EXPECT_EQ(0, k.GetDiskFreeSpaceA(root, spc, bps, free, total)) << root;
        EXPECT_EQ(0, k.GetDiskFreeSpaceExA(root, caller, bytes, freeBytes)) << root;
        EXPECT_EQ((std::vector<uint32_t>{9, 9, 9, 9}), (std::vector<uint32_t>{spc, bps, free, total}));
        EXPECT_EQ((std::vector<uint64_t>{9, 9, 9}), (std::vector<uint64_t>{caller, bytes, freeBytes}));
    }
}

}  // namespace
}  // namespace si32::simtest
