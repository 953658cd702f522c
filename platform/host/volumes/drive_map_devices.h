#pragma once
// What sysfs tells about the block device under a mount, read relative to the
// context's root. Reading sysfs never touches the volume itself.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/volumes/drive_map_mounts.h"

namespace si32 {

struct BlockDevice {
    std::string name;     // kernel name: "sdb1", "nvme0n1p2", "sr0", "dm-0"
    std::string number;   // "8:17", as udev files it
    std::string diskDir;  // sysfs directory of the whole disk (the partition's parent)
    bool removable = false;
    bool usb = false;
    bool optical = false;
    bool ram = false;  // zram or a brd RAM disk
};

// nullopt for a mount without a block device (tmpfs, NFS, overlay).
std::optional<BlockDevice> FindBlockDevice(const std::string& root, const MountEntry& mount);

// The logical sector size of the disk whose sysfs directory is given, 0
// when sysfs does not tell.
uint32_t LogicalSectorSize(const std::string& diskDir);

// A chroot's mount table leaves out the mount that holds its root (the
// kernel lists only mounts below the process's root). Then the root is
// described from the file system itself: its device number and the type its
// magic number names. nullopt when the table lists "/" or root cannot be asked.
std::optional<MountEntry> UnlistedRoot(const std::string& root, const std::vector<MountEntry>& mounts);

// The GetDriveTypeA answer for a mount and its device.
uint32_t DriveTypeOf(const MountEntry& mount, const std::optional<BlockDevice>& device);

}  // namespace si32
