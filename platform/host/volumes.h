#pragma once
// The volume calls on the host: drive type from the mount and its block
// device, label and serial through libblkid, flags from what each file system
// does, space from statvfs. A volume that does not answer within the time
// limit makes its call fail instead of holding the caller.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/host/drive_map.h"

namespace si32 {

class HostVolumes {
public:
    HostVolumes(const HostContext& context, const DriveMap& drives);
    ~HostVolumes();

    uint32_t GetDriveTypeA(std::string_view rootPath);
    int32_t GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                  uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                  std::span<char> fileSystemName);
    int32_t GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                              uint32_t& freeClusters, uint32_t& totalClusters);
    int32_t GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                uint64_t& totalFreeBytes);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace si32
