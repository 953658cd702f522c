// Kernel calls of the simulated machine: counts and buffer sizes as the
// Windows calls report them, outputs untouched on failure.
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

// A directory call with a buffer of `size` characters pre-filled with '#'.
struct DirectoryCase {
    const char* call;
    size_t size;
    uint32_t result;
    std::string stored;  // the buffer afterwards, up to `size`
};

void PrintTo(const DirectoryCase& c, std::ostream* out) { *out << c.call << "/" << c.size; }

class DirectoryBuffers : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(DirectoryBuffers, CountWithoutNulOrSizeNeeded) {
    TestMachine m(kMachine);
    Kernel& k = m.platform().kernel;
    const DirectoryCase& c = GetParam();
    std::string buffer(c.size, '#');
    std::string call = c.call;
    uint32_t result = call == "windows" ? k.GetWindowsDirectoryA(buffer)
                      : call == "system" ? k.GetSystemDirectoryA(buffer)
                                         : k.GetTempPathA(buffer);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.stored, buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DirectoryBuffers,
    ::testing::Values(DirectoryCase{"windows", 11, 10, std::string("C:\\WINDOWS\0", 11)},
                      DirectoryCase{"windows", 12, 10, std::string("C:\\WINDOWS\0#", 12)},
                      DirectoryCase{"windows", 10, 11, "##########"},  // no room for the NUL
                      DirectoryCase{"windows", 0, 11, ""},
                      DirectoryCase{"temp", 9, 8, std::string("C:\\TEMP\\\0", 9)},
                      DirectoryCase{"system", 260, 0, std::string(260, '#')}));  // absent: fails

struct NameCase {
    const char* call;
    uint32_t sizeIn;
    size_t bufferLength;
    int32_t result;
    uint32_t sizeOut;
    std::string stored;
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.call << "/" << c.sizeIn << "/" << c.bufferLength; }

class NameBuffers : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameBuffers, SizeInAndOutAsTheRealCalls) {
    TestMachine m(kMachine);
    const NameCase& c = GetParam();
    std::string buffer(c.bufferLength, 'X');
    uint32_t size = c.sizeIn;
    int32_t result = std::string(c.call) == "computer" ? m.platform().kernel.GetComputerNameA(buffer, size)
                                                       : m.platform().registry.GetUserNameA(buffer, size);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.sizeOut, size);
    EXPECT_EQ(c.stored, buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, NameBuffers,
    ::testing::Values(
        // The computer name reports its length without the NUL...
        NameCase{"computer", 32, 32, 1, 9, std::string("OFFICE-PC\0", 10) + std::string(22, 'X')},
        NameCase{"computer", 10, 10, 1, 9, std::string("OFFICE-PC\0", 10)},
        NameCase{"computer", 9, 9, 0, 10, std::string(9, 'X')},
        // ...a stated size larger than the real buffer never writes past it.
        NameCase{"computer", 32, 5, 0, 10, std::string(5, 'X')},
        // ...the user name with it.
        NameCase{"user", 32, 8, 1, 6, std::string("alice\0XX", 8)},
        NameCase{"user", 6, 6, 1, 6, std::string("alice\0", 6)},
        NameCase{"user", 5, 5, 0, 6, "XXXXX"}));

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
    uint32_t count =
        m.platform().kernel.GetPrivateProfileStringA("boot.description", "keyboard.typ", "none", buffer, GetParam().fileName);
    EXPECT_EQ(GetParam().value, std::string(buffer.data(), count));
}

constexpr const char* kNoWindowsDirectory =
    R"({"files": { "C:\\WINDOWS\\system.ini": { "text": "[boot.description]\r\nkeyboard.typ=Standard\r\n" } }})";

INSTANTIATE_TEST_SUITE_P(
    Names, IniFiles,
    ::testing::Values(IniCase{kMachine, "system.ini", "Standard"}, IniCase{kMachine, "SYSTEM.INI", "Standard"},
                      IniCase{kMachine, "c:\\windows\\System.Ini", "Standard"},
                      IniCase{kMachine, "win.ini", "none"}, IniCase{kMachine, "C:\\system.ini", "none"},
                      IniCase{kNoWindowsDirectory, "system.ini", "none"},
                      IniCase{kNoWindowsDirectory, "C:\\WINDOWS\\system.ini", "Standard"}));

struct VolumeCase {
    const char* root;
    size_t nameLength, fileSystemLength;
    int32_t result;
    std::string name, fileSystem;  // the buffers afterwards
    uint32_t serial;               // 7 when left untouched
};

void PrintTo(const VolumeCase& c, std::ostream* out) { *out << c.root << "/" << c.nameLength << "/" << c.fileSystemLength; }

class Volumes : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(Volumes, TextsOnlyWhenTheyFitNumbersOnlyOnSuccess) {
    TestMachine m(kMachine);
    const VolumeCase& c = GetParam();
    std::string name(c.nameLength, ' '), fileSystem(c.fileSystemLength, ' ');
    uint32_t serial = 7, maxComponent = 7, flags = 7;
    EXPECT_EQ(c.result, m.platform().kernel.GetVolumeInformationA(c.root, name, serial, maxComponent, flags, fileSystem));
    EXPECT_EQ(c.name, name);
    EXPECT_EQ(c.fileSystem, fileSystem);
    EXPECT_EQ(c.serial, serial);
    EXPECT_EQ(c.result != 0 ? 255u : 7u, maxComponent);
}

INSTANTIATE_TEST_SUITE_P(
    Roots, Volumes,
    ::testing::Values(VolumeCase{"c:\\", 8, 7, 1, std::string("SYSTEM\0 ", 8), std::string("FAT32\0 ", 7), 3000000000u},
                      VolumeCase{"C:\\", 7, 6, 1, std::string("SYSTEM\0", 7), std::string("FAT32\0", 6), 3000000000u},
                      VolumeCase{"C:\\", 6, 6, 0, "      ", "      ", 7},   // label does not fit
                      VolumeCase{"C:\\", 7, 5, 0, "       ", "     ", 7},   // file system does not fit
                      VolumeCase{"C:\\", 0, 0, 1, "", "", 3000000000u},     // neither text asked for
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
