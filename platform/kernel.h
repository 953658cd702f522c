#pragma once
// Kernel services (kernel32): version, directories, computer name, system
// information, memory status, INI files, volumes, drive type and free space.
// Each call answers like its Windows namesake: the same status convention,
// counts in bytes, and the same behaviour for a buffer that is too small.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace si32 {

// The sizes of the records whose first field must give the record's own
// size: a caller that says another size gets a failing call, as on Windows.
// platform/contract/ checks them against the records once.
inline constexpr uint32_t kOsVersionInfoASize = 148;
inline constexpr uint32_t kMemoryStatusSize = 32;
inline constexpr uint32_t kMemoryStatusExSize = 64;

// OSVERSIONINFOA; the size field must say kOsVersionInfoASize.
struct OsVersionInfoA {
    uint32_t dwOSVersionInfoSize = kOsVersionInfoASize;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
    std::array<char, 128> szCSDVersion{};
};

// SYSTEM_INFO's processor architectures: Windows' codes, then codes of the
// host backend's own for architectures Windows never ran on, numbered from
// 0x8000 so that they can never meet a code Windows assigns.
constexpr uint16_t PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr uint16_t PROCESSOR_ARCHITECTURE_MIPS = 1;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ALPHA = 2;
constexpr uint16_t PROCESSOR_ARCHITECTURE_PPC = 3;
constexpr uint16_t PROCESSOR_ARCHITECTURE_SHX = 4;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr uint16_t PROCESSOR_ARCHITECTURE_IA64 = 6;
constexpr uint16_t PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM64 = 12;
constexpr uint16_t PROCESSOR_ARCHITECTURE_RISCV = 0x8001;
constexpr uint16_t PROCESSOR_ARCHITECTURE_LOONGARCH = 0x8002;
constexpr uint16_t PROCESSOR_ARCHITECTURE_SPARC = 0x8003;
constexpr uint16_t PROCESSOR_ARCHITECTURE_S390 = 0x8004;
constexpr uint16_t PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;

// The platform identifier GetVersionExA reports on the Linux host: one
// Windows never used (0 Win32s, 1 the Windows 95 line, 2 NT, 3 CE), so that
// no program takes the machine for a Windows system.
constexpr uint32_t VER_PLATFORM_LINUX = 4;

// SYSTEM_INFO, the fields a program can rely on.
struct SystemInfo {
    uint16_t wProcessorArchitecture = 0;
    uint32_t dwPageSize = 0;
    uint32_t dwActiveProcessorMask = 0;
    uint32_t dwNumberOfProcessors = 0;
    uint32_t dwProcessorType = 0;
    uint32_t dwAllocationGranularity = 0;
    uint16_t wProcessorLevel = 0;
    uint16_t wProcessorRevision = 0;
};

// MEMORYSTATUS: eight 32-bit fields. Above 4 GB the real call saturates
// dwTotalPhys at 0xFFFFFFFF; the extended record holds the whole count.
struct MemoryStatus {
    uint32_t dwLength = kMemoryStatusSize;
    uint32_t dwMemoryLoad = 0;
    uint32_t dwTotalPhys = 0;
    uint32_t dwAvailPhys = 0;
    uint32_t dwTotalPageFile = 0;
    uint32_t dwAvailPageFile = 0;
    uint32_t dwTotalVirtual = 0;
    uint32_t dwAvailVirtual = 0;
};

// MEMORYSTATUSEX: dwLength must be kMemoryStatusExSize or the call fails.
struct MemoryStatusEx {
    uint32_t dwLength = kMemoryStatusExSize;
    uint32_t dwMemoryLoad = 0;
    uint64_t ullTotalPhys = 0;
    uint64_t ullAvailPhys = 0;
    uint64_t ullTotalPageFile = 0;
    uint64_t ullAvailPageFile = 0;
    uint64_t ullTotalVirtual = 0;
    uint64_t ullAvailVirtual = 0;
    uint64_t ullAvailExtendedVirtual = 0;
};

enum : uint32_t {
    VER_PLATFORM_WIN32s = 0,
    VER_PLATFORM_WIN32_WINDOWS = 1,
    VER_PLATFORM_WIN32_NT = 2,
};

enum : uint32_t {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

class Kernel {
public:
    virtual ~Kernel() = default;

    // BOOL: nonzero on success. Fails when dwOSVersionInfoSize is not kOsVersionInfoASize.
    virtual int32_t GetVersionExA(OsVersionInfoA& info) = 0;

    // Characters stored without the NUL; when the buffer is too small, the
    // size needed including the NUL and nothing stored; 0 on failure.
    virtual uint32_t GetWindowsDirectoryA(std::span<char> buffer) = 0;
    virtual uint32_t GetSystemDirectoryA(std::span<char> buffer) = 0;
    virtual uint32_t GetTempPathA(std::span<char> buffer) = 0;

    // size in: buffer length; out: length without the NUL on success, the
    // length needed (with NUL) when the buffer is too small (then fails).
    virtual int32_t GetComputerNameA(std::span<char> buffer, uint32_t& size) = 0;

    virtual void GetSystemInfo(SystemInfo& info) = 0;
    virtual void GlobalMemoryStatus(MemoryStatus& status) = 0;
    virtual int32_t GlobalMemoryStatusEx(MemoryStatusEx& status) = 0;

    // Characters copied without the NUL; the value is cut to size - 1.
    // A bare file name is looked up in the Windows directory.
    virtual uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                              std::string_view defaultValue, std::span<char> buffer,
                                              std::string_view fileName) = 0;

    // Writes NUL-terminated texts into the two buffers when they fit; the
    // number outputs are written only on success. BOOL.
    virtual int32_t GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                          uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                          std::span<char> fileSystemName) = 0;
    virtual uint32_t GetDriveTypeA(std::string_view rootPath) = 0;
    // Outputs are written only on success. BOOL.
    virtual int32_t GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                      uint32_t& freeClusters, uint32_t& totalClusters) = 0;
    virtual int32_t GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                        uint64_t& totalFreeBytes) = 0;

    // The ANSI code page every text of the "A" calls is in (65001: UTF-8).
    virtual uint32_t GetACP() { return 65001; }
};

}  // namespace si32
