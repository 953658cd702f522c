#include "platform/host/volumes/volumes.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <limits>

#include "platform/contract/buffer_conventions.h"
#include "platform/engine/deadline_runner.h"
#include "platform/host/common/host_read.h"
#include "platform/host/volumes/drive_map_devices.h"
#include "platform/host/volumes/volumes_fs_traits.h"
#include "platform/kernel.h"
#include "platform/text_helpers.h"

namespace si32 {
namespace {

std::optional<FileSystemStats> statvfsOf(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) return std::nullopt;
    FileSystemStats stats;
    stats.blockSize = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    stats.blocks = info.f_blocks;
    stats.freeBlocks = info.f_bfree;
    stats.availableBlocks = info.f_bavail;
    stats.nameMax = saturate32(info.f_namemax);
    return stats;
}

uint64_t saturatingProduct(uint64_t a, uint64_t b) {
    uint64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? std::numeric_limits<uint64_t>::max() : product;
}

struct VolumeFacts {
    std::string label;
    std::string fileSystemName;
    uint32_t serial = 0;
    uint32_t maxComponentLength = 0;
    uint32_t flags = 0;
};

}  // namespace

VolumeSeams HostVolumeSeams(const HostContext& context) {
    return VolumeSeams{statvfsOf, MakeLibblkidProbe(context.root), kDriveDeadline};
}

struct HostVolumes::Impl {
    Impl(const HostContext& context, const DriveMap& map, VolumeSeams volumeSeams)
        : root(context.root), drives(map), seams(std::move(volumeSeams)), runner(seams.deadline) {}

    // "X:\", "X:/" or "X:" on a mapped letter; anything else is not a root.
    const MappedDrive* driveOf(std::string_view rootPath) const {
        const char letter = rootPathLetter(rootPath);
        if (letter == '\0') return nullptr;
        // A letter without a root directory has no volume to ask.
        const MappedDrive* drive = drives.find(letter);
        return drive == nullptr || !drive->rootDirectory ? nullptr : drive;
    }

    // Work for one mount is serialised through the runner under this key.
    static std::string keyOf(const MappedDrive& drive) {
        return drive.mountPoint.empty() ? drive.hostPath : drive.mountPoint;
    }

    // A mount found dead by any access, the volume calls' or another's, is
    // not asked again.
    template <class T>
    std::optional<T> guarded(const MappedDrive& drive, std::function<std::optional<T>()> work) {
        const std::string key = keyOf(drive);
        if (drives.mounts->IsDead(key)) return std::nullopt;
        auto result = runner.run<T>(key, std::move(work));
        if (!result && runner.Missed(key)) drives.mounts->MarkDead(key);
        return result;
    }

    std::optional<FileSystemStats> stats(const MappedDrive& drive) {
        return guarded<FileSystemStats>(drive,
                                        [statvfs = seams.statvfs, path = drive.hostPath] { return statvfs(path); });
    }

    std::optional<VolumeFacts> facts(const MappedDrive& drive) {
        const std::string devicePath = drive.device.empty() ? std::string() : underRoot(root, "/dev/" + drive.device);
        auto work = [statvfs = seams.statvfs, blkid = seams.blkid, drive, devicePath]() -> std::optional<VolumeFacts> {
            const auto stats = statvfs(drive.hostPath);
            if (!stats) return std::nullopt;
            // What the mount table and statvfs know is always told. A device
            // whose tags cannot be read (a container, an ordinary user without
            // udev) shows no label and serial 0, as Windows shows a volume
            // that has none.
            VolumeTags tags;
            if (!drive.device.empty() && blkid)
                if (auto probed = blkid->Probe(devicePath, drive.deviceNumber)) tags = std::move(*probed);
            const std::string fileSystem = EffectiveFileSystem(drive.fsType, tags);
            VolumeFacts facts;
            facts.label = tags.label;
            facts.fileSystemName = WindowsFileSystemName(fileSystem, tags, stats->blocks);
            facts.serial = VolumeSerial(fileSystem, tags.uuid);
            facts.maxComponentLength = stats->nameMax;
            facts.flags = FileSystemFlags(fileSystem, drive.options);
            return facts;
        };
        return guarded<VolumeFacts>(drive, work);
    }

    std::string root;
    const DriveMap& drives;
    VolumeSeams seams;
    DeadlineRunner runner;
};

HostVolumes::HostVolumes(const HostContext& context, const DriveMap& drives)
    : HostVolumes(context, drives, HostVolumeSeams(context)) {}
HostVolumes::HostVolumes(const HostContext& context, const DriveMap& drives, VolumeSeams seams)
    : impl_(std::make_unique<Impl>(context, drives, std::move(seams))) {}
HostVolumes::~HostVolumes() = default;

uint32_t HostVolumes::GetDriveTypeA(std::string_view rootPath) {
    const MappedDrive* drive = impl_->driveOf(rootPath);
    return drive == nullptr ? DRIVE_NO_ROOT_DIR : drive->driveType;
}

int32_t HostVolumes::GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName,
                                           uint32_t& serialNumber, uint32_t& maxComponentLength,
                                           uint32_t& fileSystemFlags, std::span<char> fileSystemName) {
    const MappedDrive* drive = impl_->driveOf(rootPath);
    if (drive == nullptr) return 0;
    const auto facts = impl_->facts(*drive);
    if (!facts || !fitsIfAsked(facts->label, volumeName) || !fitsIfAsked(facts->fileSystemName, fileSystemName))
        return 0;
    storeIfAsked(facts->label, volumeName);
    storeIfAsked(facts->fileSystemName, fileSystemName);
    serialNumber = facts->serial;
    maxComponentLength = facts->maxComponentLength;
    fileSystemFlags = facts->flags;
    return 1;
}

int32_t HostVolumes::GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                       uint32_t& freeClusters, uint32_t& totalClusters) {
    const MappedDrive* drive = impl_->driveOf(rootPath);
    if (drive == nullptr) return 0;
    const auto stats = impl_->stats(*drive);
    if (!stats || stats->blockSize == 0 || stats->blockSize > UINT32_MAX) return 0;
    // The allocation unit is the cluster. A volume without a device (tmpfs,
    // NFS) has no sectors of its own: its cluster is its one sector.
    const auto cluster = static_cast<uint32_t>(stats->blockSize);
    const uint32_t sector = drive->deviceDiskDir.empty() ? 0 : LogicalSectorSize(drive->deviceDiskDir);
    const bool divides = sector != 0 && sector <= cluster && cluster % sector == 0;
    sectorsPerCluster = divides ? cluster / sector : 1;
    bytesPerSector = divides ? sector : cluster;
    freeClusters = saturate32(stats->availableBlocks);
    totalClusters = saturate32(stats->blocks);
    return 1;
}

int32_t HostVolumes::GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                         uint64_t& totalFreeBytes) {
    const MappedDrive* drive = impl_->driveOf(rootPath);
    if (drive == nullptr) return 0;
    const auto stats = impl_->stats(*drive);
    if (!stats) return 0;
    freeBytesToCaller = saturatingProduct(stats->availableBlocks, stats->blockSize);
    totalBytes = saturatingProduct(stats->blocks, stats->blockSize);
    totalFreeBytes = saturatingProduct(stats->freeBlocks, stats->blockSize);
    return 1;
}

}  // namespace si32
