#include "platform/sim/sim_kernel.h"

#include <algorithm>

#include "platform/contract/buffer_conventions.h"
#include "platform/contract/processor_architecture.h"
#include "platform/engine/ini_reader.h"
#include "platform/sim/windows_path.h"
#include "platform/text_helpers.h"

namespace si32::sim {

namespace {

constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kAllocationGranularity = 65536;

// SYSTEM_INFO's architecture and level for the processor types Windows
// reports.
void describeProcessor(uint32_t type, SystemInfo& info) {
    switch (type) {
        case 386:
        case 486:
        case 586:
            info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
            info.wProcessorLevel = static_cast<uint16_t>(type / 100);
            break;
        case 8664:
            info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
            info.wProcessorLevel = 6;
            break;
        case 2200: info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_IA64; break;
        default: info.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
    }
}

uint64_t availableOf(const MemoryFacts& memory) {
    return memory.totalPhysical - memory.totalPhysical / 100 * memory.load -
           memory.totalPhysical % 100 * memory.load / 100;
}

}  // namespace

int32_t SimKernel::GetVersionExA(OsVersionInfoA& info) {
    if (failing_.fails("GetVersionExA") || !machine_.version || info.dwOSVersionInfoSize != kOsVersionInfoASize)
        return 0;
    info.dwMajorVersion = machine_.version->major;
    info.dwMinorVersion = machine_.version->minor;
    info.dwBuildNumber = machine_.version->build;
    info.dwPlatformId = machine_.version->platformId;
    info.szCSDVersion.fill('\0');
    return 1;
}

uint32_t SimKernel::directory(std::string_view call, const std::optional<std::string>& path, std::span<char> buffer) {
    if (failing_.fails(call) || !path) return 0;
    return storeDirectoryAnswer(*path, buffer);
}

uint32_t SimKernel::GetWindowsDirectoryA(std::span<char> buffer) {
    return directory("GetWindowsDirectoryA", machine_.windowsDirectory, buffer);
}

uint32_t SimKernel::GetSystemDirectoryA(std::span<char> buffer) {
    return directory("GetSystemDirectoryA", machine_.systemDirectory, buffer);
}

uint32_t SimKernel::GetTempPathA(std::span<char> buffer) {
    return directory("GetTempPathA", machine_.tempDirectory, buffer);
}

int32_t SimKernel::GetComputerNameA(std::span<char> buffer, uint32_t& size) {
    if (failing_.fails("GetComputerNameA") || !machine_.computerName) return 0;
    return storeNameAnswer(*machine_.computerName, buffer, size, false);
}

void SimKernel::GetSystemInfo(SystemInfo& info) {
    failing_.raiseIfFailing("GetSystemInfo");
    ProcessorFacts processor = machine_.processor.value_or(ProcessorFacts{});
    info = SystemInfo{};
    info.dwPageSize = kPageSize;
    info.dwAllocationGranularity = kAllocationGranularity;
    info.dwNumberOfProcessors = processor.count;
    info.dwActiveProcessorMask = processor.count >= 32 ? 0xFFFFFFFFu : (1u << processor.count) - 1;
    info.dwProcessorType = processor.type;
    describeProcessor(processor.type, info);
}

void SimKernel::GlobalMemoryStatus(MemoryStatus& status) {
    failing_.raiseIfFailing("GlobalMemoryStatus");
    MemoryFacts memory = machine_.memory.value_or(MemoryFacts{});
    status = MemoryStatus{};
    status.dwMemoryLoad = memory.load;
    status.dwTotalPhys = saturate32(memory.totalPhysical);
    status.dwAvailPhys = saturate32(availableOf(memory));
}

int32_t SimKernel::GlobalMemoryStatusEx(MemoryStatusEx& status) {
    if (failing_.fails("GlobalMemoryStatusEx") || !machine_.memory || status.dwLength != kMemoryStatusExSize) return 0;
    status.dwMemoryLoad = machine_.memory->load;
    status.ullTotalPhys = machine_.memory->totalPhysical;
    status.ullAvailPhys = availableOf(*machine_.memory);
    status.ullTotalPageFile = status.ullAvailPageFile = 0;
    status.ullTotalVirtual = status.ullAvailVirtual = status.ullAvailExtendedVirtual = 0;
    return 1;
}

uint32_t SimKernel::GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                             std::string_view defaultValue, std::span<char> buffer,
                                             std::string_view fileName) {
    if (failing_.fails("GetPrivateProfileStringA")) return 0;
    std::optional<std::string> text;
    if (isFullPath(fileName)) {
        text = files_.fileText(fileName);
    } else if (machine_.windowsDirectory && !fileName.empty()) {
        // A name without a full path is looked for in the Windows directory.
        text = files_.fileText(*machine_.windowsDirectory + "\\" + std::string(fileName));
    }
    std::optional<std::string_view> view;
    if (text) view = *text;
    return GetPrivateProfileStringFromText(view, section, key, defaultValue, buffer, machine_.ansiCodePage);
}

const DriveFacts* SimKernel::drive(std::string_view rootPath, bool anyFolder) const {
    char letter = rootPath.empty() ? files_.currentDrive() : rootPathLetter(rootPath);
    // The extended free-space call takes any folder of the volume.
    if (letter == '\0' && anyFolder && isFullPath(rootPath)) letter = static_cast<char>(rootPath[0] & ~0x20);
    for (const DriveFacts& facts : machine_.drives)
        if (facts.letter == letter) return &facts;
    return nullptr;
}

int32_t SimKernel::GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                         uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                         std::span<char> fileSystemName) {
    const DriveFacts* facts = drive(rootPath);
    if (failing_.fails("GetVolumeInformationA") || facts == nullptr || facts->volumeFails) return 0;
    if (!fitsIfAsked(facts->label, volumeName) || !fitsIfAsked(facts->fileSystem, fileSystemName)) return 0;
    storeIfAsked(facts->label, volumeName);
    storeIfAsked(facts->fileSystem, fileSystemName);
    serialNumber = facts->serial;
    maxComponentLength = facts->maxComponent;
    fileSystemFlags = facts->flags;
    return 1;
}

uint32_t SimKernel::GetDriveTypeA(std::string_view rootPath) {
    if (failing_.fails("GetDriveTypeA")) return DRIVE_UNKNOWN;
    const DriveFacts* facts = drive(rootPath);
    if (facts == nullptr) return DRIVE_NO_ROOT_DIR;
    return facts->type.value_or(DRIVE_UNKNOWN);
}

int32_t SimKernel::GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                     uint32_t& freeClusters, uint32_t& totalClusters) {
    const DriveFacts* facts = drive(rootPath);
    if (failing_.fails("GetDiskFreeSpaceA") || facts == nullptr || facts->spaceFails || facts->clusterSpaceFails)
        return 0;
    sectorsPerCluster = facts->sectorsPerCluster;
    bytesPerSector = facts->bytesPerSector;
    freeClusters = facts->freeClusters;
    totalClusters = facts->totalClusters;
    return 1;
}

int32_t SimKernel::GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                       uint64_t& totalFreeBytes) {
    const DriveFacts* facts = drive(rootPath, true);
    if (failing_.fails("GetDiskFreeSpaceExA") || facts == nullptr || facts->spaceFails || facts->byteSpaceFails)
        return 0;
    freeBytesToCaller = facts->freeBytesToCaller;
    totalBytes = facts->totalBytes;
    totalFreeBytes = facts->totalFreeBytes;
    return 1;
}

}  // namespace si32::sim
