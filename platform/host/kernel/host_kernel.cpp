// Version, directories, computer name, processors and memory of the live
// machine, in the shape of the kernel32 calls.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/contract/buffer_conventions.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_windows_paths.h"
#include "platform/host/machine/host_facts.h"
#include "platform/run_time_error.h"

namespace si32 {

HostKernel::HostKernel(const HostContext& context, const MachineFacts& machine, const DriveMap& drives,
                       HostVolumes& volumes)
    : context_(context), machine_(machine), drives_(drives), volumes_(volumes) {}

int32_t HostKernel::GetVersionExA(OsVersionInfoA& info) {
    if (info.dwOSVersionInfoSize != kOsVersionInfoASize) return 0;
    const auto release = kernelRelease(context_.root);
    if (!release) return 0;
    const auto version = parseKernelRelease(*release);
    if (!version) return 0;
    info.dwMajorVersion = version->major;
    info.dwMinorVersion = version->minor;
    info.dwBuildNumber = version->patch;
    info.dwPlatformId = VER_PLATFORM_LINUX;
    // The whole release ("6.1.0-18-amd64") where Windows names its service pack.
    info.szCSDVersion.fill('\0');
    std::memcpy(info.szCSDVersion.data(), release->data(), std::min(release->size(), info.szCSDVersion.size() - 1));
    return 1;
}

uint32_t HostKernel::GetWindowsDirectoryA(std::span<char> buffer) {
    return storeDirectoryAnswer(kWindowsDirectory, buffer);
}

uint32_t HostKernel::GetSystemDirectoryA(std::span<char> buffer) {
    return storeDirectoryAnswer(kSystemDirectory, buffer);
}

uint32_t HostKernel::GetTempPathA(std::span<char> buffer) {
    const std::string tmpdir = context_.environment.Get("TMPDIR");
    const std::string host = !tmpdir.empty() ? tmpdir : "/tmp";
    auto windows = drives_.ToWindowsPath(host);
    if (!windows) return 0;
    if (windows->empty() || windows->back() != '\\') *windows += '\\';
    return storeDirectoryAnswer(*windows, buffer);
}

int32_t HostKernel::GetComputerNameA(std::span<char> buffer, uint32_t& size) {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return 0;
    return storeNameAnswer(name, buffer, size, false);
}

void HostKernel::GetSystemInfo(SystemInfo& info) {
    auto cpus = onlineCpus(context_.root);
    if (!cpus && context_.root == "/") {
        const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
        if (online > 0) cpus = CpuSet{static_cast<uint32_t>(online), online >= 32 ? UINT32_MAX : (1u << online) - 1};
    }
    if (!cpus) raise(ErrorKind::PlatformFailure, "the processors online cannot be counted");
    const long page = ::sysconf(_SC_PAGESIZE);

    info = SystemInfo{};
    info.wProcessorArchitecture = machine_.kind.code.architecture;
    info.dwProcessorType = machine_.kind.code.type;
    info.dwNumberOfProcessors = cpus->count;
    info.dwActiveProcessorMask = cpus->mask;
    info.dwPageSize = page > 0 ? static_cast<uint32_t>(page) : 0;
    // Linux maps memory at page granularity, not in 64 KB steps.
    info.dwAllocationGranularity = info.dwPageSize;
    info.wProcessorLevel = machine_.cpu.level;
    info.wProcessorRevision = machine_.cpu.revision;
}

void HostKernel::GlobalMemoryStatus(MemoryStatus& status) {
    MemoryStatusEx whole;
    if (GlobalMemoryStatusEx(whole) == 0) raise(ErrorKind::PlatformFailure, "the memory status cannot be read");
    // The classic record holds 32 bits; larger counts saturate as they do on
    // Windows.
    status.dwLength = kMemoryStatusSize;
    status.dwMemoryLoad = whole.dwMemoryLoad;
    status.dwTotalPhys = saturate32(whole.ullTotalPhys);
    status.dwAvailPhys = saturate32(whole.ullAvailPhys);
    status.dwTotalPageFile = saturate32(whole.ullTotalPageFile);
    status.dwAvailPageFile = saturate32(whole.ullAvailPageFile);
    status.dwTotalVirtual = saturate32(whole.ullTotalVirtual);
    status.dwAvailVirtual = saturate32(whole.ullAvailVirtual);
}

int32_t HostKernel::GlobalMemoryStatusEx(MemoryStatusEx& status) {
    if (status.dwLength != kMemoryStatusExSize) return 0;
    const auto memory = memoryFacts(context_.root);
    if (!memory) return 0;
    const auto space = addressSpace(context_.root);
    status.dwMemoryLoad = memoryLoad(*memory);
    status.ullTotalPhys = memory->total;
    status.ullAvailPhys = memory->available;
    // Windows' page-file figures are its commit limit: memory plus swap.
    status.ullTotalPageFile = memory->total + memory->swapTotal;
    status.ullAvailPageFile = memory->available + memory->swapFree;
    status.ullTotalVirtual = space ? space->total : 0;
    status.ullAvailVirtual = space ? space->available : 0;
    status.ullAvailExtendedVirtual = 0;
    return 1;
}

int32_t HostKernel::GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                          uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                          std::span<char> fileSystemName) {
    return volumes_.GetVolumeInformationA(rootPath, volumeName, serialNumber, maxComponentLength, fileSystemFlags,
                                          fileSystemName);
}

uint32_t HostKernel::GetDriveTypeA(std::string_view rootPath) { return volumes_.GetDriveTypeA(rootPath); }

int32_t HostKernel::GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                      uint32_t& freeClusters, uint32_t& totalClusters) {
    return volumes_.GetDiskFreeSpaceA(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
}

int32_t HostKernel::GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                        uint64_t& totalFreeBytes) {
    return volumes_.GetDiskFreeSpaceExA(rootPath, freeBytesToCaller, totalBytes, totalFreeBytes);
}

}  // namespace si32
