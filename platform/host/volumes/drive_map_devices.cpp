#include "platform/host/volumes/drive_map_devices.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <charconv>
#include <climits>
#include <cstdlib>

#include "platform/host/common/host_read.h"
#include "platform/kernel.h"

namespace si32 {
namespace {

std::string baseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string dirName(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos || slash == 0 ? "/" : path.substr(0, slash));
}

std::optional<std::string> canonical(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
    return std::string(resolved);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::optional<std::string> readLine(const std::string& path) { return readLineUnderRoot("/", path); }

// The sysfs directory of the device under a mount: by its device number
// where that is real, else by the name its source gives (btrfs reports an
// anonymous number; /dev/mapper names are links to dm-N).
std::optional<std::string> sysfsDirectory(const std::string& root, const MountEntry& mount) {
    if (mount.major != 0) {
        const auto byNumber =
            underRoot(root, "/sys/dev/block/" + std::to_string(mount.major) + ":" + std::to_string(mount.minor));
        if (auto dir = canonical(byNumber)) return dir;
    }
    if (!mount.source.starts_with("/dev/")) return std::nullopt;
    std::string name = baseName(mount.source);
    char target[PATH_MAX];
    const auto length = ::readlink(underRoot(root, mount.source).c_str(), target, sizeof target - 1);
    if (length > 0) name = baseName(std::string_view(target, static_cast<std::size_t>(length)));
    return canonical(underRoot(root, "/sys/class/block/" + name));
}

struct MagicName {
    unsigned long magic;
    const char* name;
};

// statfs(2)'s f_type of the file systems a root is commonly on.
constexpr MagicName kFileSystemMagics[] = {
    {0xEF53, "ext4"},      {0x9123683E, "btrfs"},    {0x58465342, "xfs"},      {0xF2F52010, "f2fs"},
    {0x2FC12FC1, "zfs"},   {0x01021994, "tmpfs"},    {0x794C7630, "overlay"},  {0x6969, "nfs"},
    {0x65735546, "fuse"},  {0x73717368, "squashfs"}, {0x4D44, "vfat"},         {0x5346544E, "ntfs"},
    {0x858458F6, "ramfs"}, {0x3153464A, "jfs"},      {0x52654973, "reiserfs"},
};

std::string fileSystemOfMagic(unsigned long magic) {
    for (const auto& known : kFileSystemMagics)
        if (known.magic == magic) return known.name;
    return {};
}

}  // namespace

std::optional<MountEntry> UnlistedRoot(const std::string& root, const std::vector<MountEntry>& mounts) {
    for (const auto& mount : mounts)
        if (mount.mountPoint == "/") return std::nullopt;
    struct stat info {};
    struct statfs fs {};
    if (::stat(root.c_str(), &info) != 0 || ::statfs(root.c_str(), &fs) != 0) return std::nullopt;
    MountEntry entry;
    entry.major = major(info.st_dev);
    entry.minor = minor(info.st_dev);
    entry.root = "/";
    entry.mountPoint = "/";
    entry.fsType = fileSystemOfMagic(static_cast<unsigned long>(fs.f_type));
    // ext2, ext3 and ext4 share one magic number; the driver that serves the
    // device tells them apart (ext4 serves all three on current kernels).
    if (const auto dir = canonical(
            underRoot(root, "/sys/dev/block/" + std::to_string(entry.major) + ":" + std::to_string(entry.minor)))) {
        entry.source = "/dev/" + baseName(*dir);
        const std::string ext4 = underRoot(root, "/sys/fs/ext4");
        if (entry.fsType == "ext4" && exists(ext4) && !exists(ext4 + "/" + baseName(*dir))) entry.fsType = "ext2";
    }
    return entry;
}

std::optional<BlockDevice> FindBlockDevice(const std::string& root, const MountEntry& mount) {
    const auto dir = sysfsDirectory(root, mount);
    if (!dir) return std::nullopt;
    BlockDevice device;
    device.name = baseName(*dir);
    device.number = readLine(*dir + "/dev").value_or("");
    device.diskDir = exists(*dir + "/partition") ? dirName(*dir) : *dir;
    device.removable = readLine(device.diskDir + "/removable") == "1";
    device.usb = dir->find("/usb") != std::string::npos;
    // SCSI peripheral type 5 is a CD/DVD drive.
    device.optical = device.name.starts_with("sr") || readLine(device.diskDir + "/device/type") == "5";
    device.ram = device.name.starts_with("zram") || device.name.starts_with("ram");
    return device;
}

uint32_t LogicalSectorSize(const std::string& diskDir) {
    const auto text = readLine(diskDir + "/queue/logical_block_size");
    uint32_t size = 0;
    if (!text || std::from_chars(text->data(), text->data() + text->size(), size).ec != std::errc{}) return 0;
    return size;
}

uint32_t DriveTypeOf(const MountEntry& mount, const std::optional<BlockDevice>& device) {
    if (IsNetworkFileSystem(mount.fsType)) return DRIVE_REMOTE;
    if (mount.fsType == "tmpfs" || mount.fsType == "ramfs") return DRIVE_RAMDISK;
    if (device) {
        if (device->ram) return DRIVE_RAMDISK;
        if (device->optical) return DRIVE_CDROM;
        if (device->removable || device->usb) return DRIVE_REMOVABLE;
    }
    // An image of a disc mounted from a file reads as the disc it holds.
    if (mount.fsType == "iso9660" || mount.fsType == "udf") return DRIVE_CDROM;
    return DRIVE_FIXED;
}

}  // namespace si32
