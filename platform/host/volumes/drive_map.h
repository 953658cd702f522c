#pragma once
// The host's drive letters: the prefix's dosdevices/ links and the mounted
// volumes a user would recognise, from D: on in mount order. Building the map
// reads only the mount table, sysfs, udev's label links and the prefix's
// links; it never touches a volume.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/common/host_context.h"

namespace si32 {

struct MappedDrive {
    char letter = 'C';          // upper case
    std::string hostPath;       // the directory the letter stands for
    std::string source;         // the source of the mount holding hostPath ("/dev/sda2", "server:/export")
    std::string fsType;         // that mount's file-system type ("ext4", "nfs4"), "" when unknown
    uint32_t driveType = 1;     // the GetDriveTypeA answer
    std::string listLabel;      // what the drive list shows in brackets ("" for none)
    bool rootDirectory = true;  // false for a link that dangles or names a FIFO or device

    std::string mountPoint;     // the mount holding hostPath, as a path on this machine
    std::string options;        // that mount's options and its file system's, joined by commas
    std::string device;         // kernel name of its block device ("sda2"), "" for none
    std::string deviceNumber;   // "8:2", "" for none
    std::string deviceDiskDir;  // sysfs directory of the whole disk, "" for none
};

class DriveMap {
public:
    static DriveMap Build(const HostContext& context);

    const std::vector<MappedDrive>& drives() const { return drives_; }
    const MappedDrive* find(char letter) const;
    // "C:\WINDOWS\system.ini" -> "<prefix>/drive_c/WINDOWS/system.ini", with
    // each component matched without regard to case where the host has it;
    // nullopt for a letter that maps nowhere. An absolute host path is
    // returned as itself.
    std::optional<std::string> ToHostPath(std::string_view windowsPath) const;
    // The Windows path of a host path, through the longest matching drive.
    std::optional<std::string> ToWindowsPath(std::string_view hostPath) const;

    std::vector<MappedDrive> drives_;
    // Paths on the drives are looked up through it, so a dead server fails
    // the lookup instead of holding it.
    std::shared_ptr<MountGuard> mounts = std::make_shared<MountGuard>();
};

}  // namespace si32
