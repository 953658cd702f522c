#include "platform/host/volumes/drive_map_mounts.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <set>
#include <utility>

#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

constexpr std::array<std::string_view, 17> kNetworkFileSystems{
    "nfs",       "nfs4",   "cifs",  "smb3",       "smbfs",       "ncpfs",          "afs",       "ceph",       "9p",
    "glusterfs", "lustre", "davfs", "fuse.sshfs", "fuse.rclone", "fuse.glusterfs", "fuse.s3fs", "fuse.davfs2"};

// Where the system keeps mounts of its own, never shown as volumes.
constexpr std::array<std::string_view, 9> kSystemMountAreas{
    "/proc", "/sys", "/dev", "/run", "/snap", "/var/lib/snapd", "/var/lib/docker", "/var/lib/containers", "/var/snap"};

// Where a user mounts a disk image on purpose.
constexpr std::array<std::string_view, 3> kUserMountAreas{"/media", "/run/media", "/mnt"};

template <std::size_t N>
bool isUnderAny(std::string_view path, const std::array<std::string_view, N>& areas) {
    for (auto area : areas)
        if (pathWithin(path, area)) return true;
    return false;
}

std::vector<std::string_view> splitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (true) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::string text(const char* value) { return value == nullptr ? std::string() : std::string(value); }

MountEntry entryOf(libmnt_fs* fs) {
    MountEntry entry;
    const dev_t device = mnt_fs_get_devno(fs);
    entry.major = major(device);
    entry.minor = minor(device);
    entry.root = text(mnt_fs_get_root(fs));
    entry.mountPoint = text(mnt_fs_get_target(fs));
    entry.fsType = text(mnt_fs_get_fstype(fs));
    entry.source = text(mnt_fs_get_source(fs));
    entry.options = text(mnt_fs_get_vfs_options(fs));
    if (const std::string own = text(mnt_fs_get_fs_options(fs)); !own.empty()) entry.options += "," + own;
    return entry;
}

// A line libmount cannot read is left out; the rest of the table stands.
int skipBrokenLine(libmnt_table*, const char*, int) { return 1; }

// A btrfs subvolume is mounted with its own path as the root; anything else
// with a root other than "/" shows only part of a file system.
bool isWholeFileSystem(const MountEntry& mount) {
    if (mount.root == "/") return true;
    return mount.fsType == "btrfs" && mount.optionValue("subvol") == mount.root;
}

bool isUserVolume(const MountEntry& mount) {
    if (mount.mountPoint == "/") return true;
    if (isUnderAny(mount.mountPoint, kSystemMountAreas) && !pathWithin(mount.mountPoint, "/run/media")) return false;
    if (IsNetworkFileSystem(mount.fsType)) return true;
    if (mount.fsType == "tmpfs" || mount.fsType == "ramfs") return mount.mountPoint == "/tmp";
    if (!mount.source.starts_with("/dev/") || mount.fsType == "squashfs") return false;
    if (mount.source.starts_with("/dev/loop") && !isUnderAny(mount.mountPoint, kUserMountAreas)) return false;
    return isWholeFileSystem(mount);
}

}  // namespace

bool MountEntry::hasOption(std::string_view name) const { return optionValue(name).has_value(); }

std::optional<std::string> MountEntry::optionValue(std::string_view name) const {
    for (auto option : splitOn(options, ',')) {
        if (option == name) return std::string();
        if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == '=')
            return std::string(option.substr(name.size() + 1));
    }
    return std::nullopt;
}

std::vector<MountEntry> ParseMountInfo(std::string_view mountinfo) {
    std::vector<MountEntry> mounts;
    if (mountinfo.empty()) return mounts;
    std::string copy(mountinfo);  // fmemopen reads from writable memory
    FILE* stream = ::fmemopen(copy.data(), copy.size(), "r");
    if (stream == nullptr) return mounts;
    libmnt_table* table = mnt_new_table();
    if (table != nullptr) {
        mnt_table_set_parser_errcb(table, skipBrokenLine);
        if (mnt_table_parse_stream(table, stream, "mountinfo") == 0) {
            libmnt_iter* iterator = mnt_new_iter(MNT_ITER_FORWARD);
            libmnt_fs* fs = nullptr;
            while (iterator != nullptr && mnt_table_next_fs(table, iterator, &fs) == 0) mounts.push_back(entryOf(fs));
            mnt_free_iter(iterator);
        }
        mnt_unref_table(table);
    }
    std::fclose(stream);
    return mounts;
}

bool IsNetworkFileSystem(std::string_view fsType) {
    if (std::string type(fsType); mnt_fstype_is_netfs(type.c_str()) != 0) return true;
    for (auto name : kNetworkFileSystems)
        if (fsType == name) return true;
    return false;
}

bool MayHang(std::string_view fsType) {
    // fusectl is the kernel's own table of FUSE connections, not a FUSE mount.
    return IsNetworkFileSystem(fsType) || fsType == "fuse" || fsType == "fuseblk" || fsType.starts_with("fuse.");
}

std::vector<GuardedMount> GuardedMounts(const std::string& root, const std::vector<MountEntry>& mounts) {
    std::vector<GuardedMount> guarded;
    for (const auto& mount : mounts) {
        std::string point = underRoot(root, mount.mountPoint);
        while (point.size() > 1 && point.back() == '/') point.pop_back();
        guarded.push_back({std::move(point), MayHang(mount.fsType)});
    }
    return guarded;
}

std::vector<MountEntry> UserVolumes(const std::vector<MountEntry>& mounts) {
    // Only the last mount on a point is visible.
    std::vector<const MountEntry*> visible;
    std::set<std::string_view> seenPoints;
    for (auto it = mounts.rbegin(); it != mounts.rend(); ++it)
        if (seenPoints.insert(it->mountPoint).second) visible.insert(visible.begin(), &*it);

    // One letter per file system: the device number names it (anonymous
    // ones included) whichever part of it a mount shows, so btrfs subvolumes,
    // bind mounts and a second mount at /sysroot are folders of the drive
    // of its shallowest mount point.
    std::vector<const MountEntry*> candidates;
    for (const auto* mount : visible)
        if (mount->mountPoint == "/") candidates.push_back(mount);
    for (const auto* mount : visible)
        if (mount->mountPoint != "/" && isUserVolume(*mount)) candidates.push_back(mount);
    const auto depth = [](const MountEntry& mount) { return pathNames(mount.mountPoint).size(); };
    std::vector<const MountEntry*> chosen;
    for (const auto* mount : candidates) {
        const auto same = std::find_if(chosen.begin(), chosen.end(), [&](const MountEntry* other) {
            return other->major == mount->major && other->minor == mount->minor;
        });
        if (same == chosen.end()) chosen.push_back(mount);
        else if (depth(*mount) < depth(**same)) *same = mount;
    }
    std::vector<MountEntry> volumes;
    for (const auto* mount : chosen) volumes.push_back(*mount);
    return volumes;
}

const MountEntry* MountHolding(const std::vector<MountEntry>& mounts, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const auto& mount : mounts) {
        if (!pathWithin(path, mount.mountPoint) && mount.mountPoint != "/") continue;
        if (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size()) best = &mount;
    }
    return best;
}

}  // namespace si32
