#include "platform/host/volumes/drive_map_devices.h"

#include <sys/stat.h>
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
        const auto byNumber = underRoot(root, "/sys/dev/block/" + std::to_string(mount.major) + ":" +
                                                  std::to_string(mount.minor));
        if (auto dir = canonical(byNumber)) return dir;
    }
    if (!mount.source.starts_with("/dev/")) return std::nullopt;
    std::string name = baseName(mount.source);
    char target[PATH_MAX];
    const auto length = ::readlink(underRoot(root, mount.source).c_str(), target, sizeof target - 1);
    if (length > 0) name = baseName(std::string_view(target, static_cast<std::size_t>(length)));
    return canonical(underRoot(root, "/sys/class/block/" + name));
}

}  // namespace

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
