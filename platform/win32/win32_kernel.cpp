#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "platform/contract/deadlines.h"
#include "platform/win32/win32_services.h"

namespace si32 {
namespace {

// The root a caller names, as a key for the deadline: one per drive, so a
// drive that missed it once is not waited for again.
std::string driveKey(std::string_view rootPath) {
    if (rootPath.size() >= 2 && rootPath[1] == ':')
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rootPath[0])))) + ":";
    return std::string(rootPath);
}

// A null pointer for an empty text: the calls take "no root" as the
// current drive and an empty file name as no name.
const char* orNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

uint32_t saturated(unsigned long long value) {
    return static_cast<uint32_t>(std::min<unsigned long long>(value, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

std::string win32ErrorText(DWORD error) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                   sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && std::isspace(static_cast<unsigned char>(message.back()))) message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

// The program's records stand for these; a size it states is passed on.
static_assert(sizeof(OSVERSIONINFOA) == kOsVersionInfoASize);
static_assert(sizeof(MEMORYSTATUSEX) == kMemoryStatusExSize);

Win32Kernel::Win32Kernel() : volumes_(kDriveDeadline) {}

int32_t Win32Kernel::GetVersionExA(OsVersionInfoA& info) {
    // Room for the extended record, so that no stated size lets the call
    // write past it; the call itself refuses the sizes it does not know.
    OSVERSIONINFOEXA real{};
    if (info.dwOSVersionInfoSize > sizeof real) return 0;
    real.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&real))) return 0;
    info.dwMajorVersion = real.dwMajorVersion;
    info.dwMinorVersion = real.dwMinorVersion;
    info.dwBuildNumber = real.dwBuildNumber;
    info.dwPlatformId = real.dwPlatformId;
    static_assert(sizeof real.szCSDVersion == std::tuple_size_v<decltype(info.szCSDVersion)>);
    std::memcpy(info.szCSDVersion.data(), real.szCSDVersion, sizeof real.szCSDVersion);
    return 1;
}

uint32_t Win32Kernel::GetWindowsDirectoryA(std::span<char> buffer) {
    return ::GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
}

uint32_t Win32Kernel::GetSystemDirectoryA(std::span<char> buffer) {
    return ::GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
}

uint32_t Win32Kernel::GetTempPathA(std::span<char> buffer) {
    return ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
}

int32_t Win32Kernel::GetComputerNameA(std::span<char> buffer, uint32_t& size) {
    DWORD n = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
    const BOOL ok = ::GetComputerNameA(buffer.data(), &n);
    size = n;
    return ok ? 1 : 0;
}

void Win32Kernel::GetSystemInfo(SystemInfo& info) {
    SYSTEM_INFO real{};
    ::GetSystemInfo(&real);
    info.wProcessorArchitecture = real.wProcessorArchitecture;
    info.dwPageSize = real.dwPageSize;
    info.dwActiveProcessorMask = static_cast<uint32_t>(real.dwActiveProcessorMask);
    info.dwNumberOfProcessors = real.dwNumberOfProcessors;
    info.dwProcessorType = real.dwProcessorType;
    info.dwAllocationGranularity = real.dwAllocationGranularity;
    info.wProcessorLevel = real.wProcessorLevel;
    info.wProcessorRevision = real.wProcessorRevision;
}

void Win32Kernel::GlobalMemoryStatus(MemoryStatus& status) {
    // The 64-bit call counts in 64 bits; the record the program reads has
    // the 32-bit call's fields, which stop at 4 GB.
    MEMORYSTATUS real{};
    real.dwLength = sizeof real;
    ::GlobalMemoryStatus(&real);
    status.dwMemoryLoad = real.dwMemoryLoad;
    status.dwTotalPhys = saturated(real.dwTotalPhys);
    status.dwAvailPhys = saturated(real.dwAvailPhys);
    status.dwTotalPageFile = saturated(real.dwTotalPageFile);
    status.dwAvailPageFile = saturated(real.dwAvailPageFile);
    status.dwTotalVirtual = saturated(real.dwTotalVirtual);
    status.dwAvailVirtual = saturated(real.dwAvailVirtual);
}

int32_t Win32Kernel::GlobalMemoryStatusEx(MemoryStatusEx& status) {
    using Call = BOOL(WINAPI*)(MEMORYSTATUSEX*);
    static const Call call = optionalCall<Call>("kernel32.dll", "GlobalMemoryStatusEx");
    if (call == nullptr || status.dwLength != kMemoryStatusExSize) return 0;
    MEMORYSTATUSEX real{};
    real.dwLength = sizeof real;
    if (!call(&real)) return 0;
    status.dwMemoryLoad = real.dwMemoryLoad;
    status.ullTotalPhys = real.ullTotalPhys;
    status.ullAvailPhys = real.ullAvailPhys;
    status.ullTotalPageFile = real.ullTotalPageFile;
    status.ullAvailPageFile = real.ullAvailPageFile;
    status.ullTotalVirtual = real.ullTotalVirtual;
    status.ullAvailVirtual = real.ullAvailVirtual;
    status.ullAvailExtendedVirtual = real.ullAvailExtendedVirtual;
    return 1;
}

uint32_t Win32Kernel::GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                               std::string_view defaultValue, std::span<char> buffer,
                                               std::string_view fileName) {
    const std::string s(section), k(key), d(defaultValue), f(fileName);
    return ::GetPrivateProfileStringA(orNull(s), orNull(k), d.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                      f.c_str());
}

int32_t Win32Kernel::GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName,
                                           uint32_t& serialNumber, uint32_t& maxComponentLength,
                                           uint32_t& fileSystemFlags, std::span<char> fileSystemName) {
    struct Answer {
        std::string name, fileSystem;
        DWORD serial = 0, maxComponent = 0, flags = 0;
    };
    const std::string root(rootPath);
    const auto nameSize = static_cast<DWORD>(volumeName.size());
    const auto fsSize = static_cast<DWORD>(fileSystemName.size());
    // The worker writes into buffers of its own: past the deadline the
    // caller's are gone.
    const std::optional<Answer> answer =
        volumes_.run<Answer>(driveKey(rootPath), [root, nameSize, fsSize]() -> std::optional<Answer> {
            Answer a;
            a.name.assign(nameSize, '\0');
            a.fileSystem.assign(fsSize, '\0');
            if (!::GetVolumeInformationA(orNull(root), nameSize ? a.name.data() : nullptr, nameSize, &a.serial,
                                         &a.maxComponent, &a.flags, fsSize ? a.fileSystem.data() : nullptr, fsSize))
                return std::nullopt;
            return a;
        });
    if (!answer) return 0;
    std::copy(answer->name.begin(), answer->name.end(), volumeName.begin());
    std::copy(answer->fileSystem.begin(), answer->fileSystem.end(), fileSystemName.begin());
    serialNumber = answer->serial;
    maxComponentLength = answer->maxComponent;
    fileSystemFlags = answer->flags;
    return 1;
}

uint32_t Win32Kernel::GetDriveTypeA(std::string_view rootPath) {
    const std::string root(rootPath);
    return ::GetDriveTypeA(orNull(root));
}

int32_t Win32Kernel::GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                       uint32_t& freeClusters, uint32_t& totalClusters) {
    struct Answer {
        DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    };
    const std::string root(rootPath);
    const std::optional<Answer> answer = volumes_.run<Answer>(driveKey(rootPath), [root]() -> std::optional<Answer> {
        Answer a;
        if (!::GetDiskFreeSpaceA(orNull(root), &a.sectors, &a.bytes, &a.free, &a.total)) return std::nullopt;
        return a;
    });
    if (!answer) return 0;
    sectorsPerCluster = answer->sectors;
    bytesPerSector = answer->bytes;
    freeClusters = answer->free;
    totalClusters = answer->total;
    return 1;
}

int32_t Win32Kernel::GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                         uint64_t& totalFreeBytes) {
    using Call = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    // The first Windows 95 lacks it.
    static const Call call = optionalCall<Call>("kernel32.dll", "GetDiskFreeSpaceExA");
    if (call == nullptr) return 0;
    struct Answer {
        ULARGE_INTEGER caller{}, total{}, free{};
    };
    const std::string root(rootPath);
    const std::optional<Answer> answer = volumes_.run<Answer>(driveKey(rootPath), [root]() -> std::optional<Answer> {
        Answer a;
        if (!call(orNull(root), &a.caller, &a.total, &a.free)) return std::nullopt;
        return a;
    });
    if (!answer) return 0;
    freeBytesToCaller = answer->caller.QuadPart;
    totalBytes = answer->total.QuadPart;
    totalFreeBytes = answer->free.QuadPart;
    return 1;
}

uint32_t Win32Kernel::GetACP() { return ::GetACP(); }

std::string Win32Kernel::VolumeLabel(char letter) {
    const std::string root = std::string(1, letter) + ":\\";
    char name[MAX_PATH + 1] = {};
    uint32_t serial = 0, maxComponent = 0, flags = 0;
    if (!GetVolumeInformationA(root, name, serial, maxComponent, flags, {})) return {};
    return name;
}

}  // namespace si32
