#pragma once
// The volume calls on the host: drive type from the mount and its block
// device, label and serial through libblkid, flags from what each file system
// does, space from statvfs. A volume that does not answer within the time
// limit makes its call fail instead of holding the caller.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/contract/deadlines.h"
#include "platform/host/volumes/blkid_probe.h"
#include "platform/host/volumes/drive_map.h"

namespace si32 {

// The statvfs figures the volume calls use; counts in units of blockSize.
struct FileSystemStats {
    uint64_t blockSize = 0;  // f_frsize: the allocation unit
    uint64_t blocks = 0;
    uint64_t freeBlocks = 0;       // f_bfree
    uint64_t availableBlocks = 0;  // f_bavail: free to an unprivileged caller
    uint32_t nameMax = 0;
};

// What the calls ask of the machine, so that a test can answer for it.
struct VolumeSeams {
    std::function<std::optional<FileSystemStats>(const std::string& path)> statvfs;
    std::shared_ptr<BlkidProbe> blkid;
    std::chrono::milliseconds deadline{kDriveDeadline};
};

// statvfs(3) itself, libblkid with udev's record behind it, 2 seconds.
VolumeSeams HostVolumeSeams(const HostContext& context);

class HostVolumes {
public:
    HostVolumes(const HostContext& context, const DriveMap& drives);
    HostVolumes(const HostContext& context, const DriveMap& drives, VolumeSeams seams);
    ~HostVolumes();

    // Root paths are "X:\" (or "X:"), as Windows takes them.
    uint32_t GetDriveTypeA(std::string_view rootPath);
    int32_t GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                  uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                  std::span<char> fileSystemName);
    // Cluster counts beyond 32 bits read 0xFFFFFFFF, as on the NT line.
    int32_t GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                              uint32_t& freeClusters, uint32_t& totalClusters);
    int32_t GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                uint64_t& totalFreeBytes);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace si32
