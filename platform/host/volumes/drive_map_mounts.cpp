#include "platform/host/volumes/drive_map_mounts.h"

#include <array>
#include <charconv>
#include <set>
#include <utility>

#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

constexpr std::array<std::string_view, 17> kNetworkFileSystems{
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p", "glusterfs", "lustre", "davfs",
    "fuse.sshfs", "fuse.rclone", "fuse.glusterfs", "fuse.s3fs", "fuse.davfs2"};

// Where the system keeps mounts of its own, never shown as volumes.
constexpr std::array<std::string_view, 9> kSystemMountAreas{
    "/proc", "/sys", "/dev", "/run", "/snap", "/var/lib/snapd", "/var/lib/docker", "/var/lib/containers",
    "/var/snap"};

// Where a user mounts a disk image on purpose.
constexpr std::array<std::string_view, 3> kUserMountAreas{"/media", "/run/media", "/mnt"};

bool isUnder(std::string_view path, std::string_view area) {
    return path == area || (path.size() > area.size() && path.starts_with(area) && path[area.size()] == '/');
}

template <std::size_t N>
bool isUnderAny(std::string_view path, const std::array<std::string_view, N>& areas) {
    for (auto area : areas)
        if (isUnder(path, area)) return true;
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

bool parseDeviceNumber(std::string_view text, unsigned& major, unsigned& minor) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const auto a = std::from_chars(text.data(), text.data() + colon, major);
    const auto b = std::from_chars(text.data() + colon + 1, text.data() + text.size(), minor);
    return a.ec == std::errc{} && b.ec == std::errc{};
}

std::optional<MountEntry> parseLine(std::string_view line) {
    // id parent major:minor root mount-point options [optional...] - type source super-options
    std::vector<std::string_view> fields;
    for (auto field : splitOn(line, ' '))
        if (!field.empty()) fields.push_back(field);
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (fields.size() < 6 || dash + 2 >= fields.size()) return std::nullopt;
    MountEntry entry;
    if (!parseDeviceNumber(fields[2], entry.major, entry.minor)) return std::nullopt;
    entry.root = UnescapeMountField(fields[3]);
    entry.mountPoint = UnescapeMountField(fields[4]);
    entry.fsType = std::string(fields[dash + 1]);
    entry.source = UnescapeMountField(fields[dash + 2]);
    entry.options = std::string(fields[5]);
    if (dash + 3 < fields.size()) entry.options += "," + std::string(fields[dash + 3]);
    return entry;
}

// A btrfs subvolume is mounted with its own path as the root; anything else
// with a root other than "/" shows only part of a file system.
bool isWholeFileSystem(const MountEntry& mount) {
    if (mount.root == "/") return true;
    return mount.fsType == "btrfs" && mount.optionValue("subvol") == mount.root;
}

bool isUserVolume(const MountEntry& mount) {
    if (mount.mountPoint == "/") return true;
    if (isUnderAny(mount.mountPoint, kSystemMountAreas) && !isUnder(mount.mountPoint, "/run/media")) return false;
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

std::string UnescapeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](std::size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    for (auto line : splitOn(text, '\n'))
        if (auto entry = parseLine(line)) mounts.push_back(std::move(*entry));
    return mounts;
}

bool IsNetworkFileSystem(std::string_view fsType) {
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

    std::vector<MountEntry> volumes;
    std::set<std::pair<std::string, std::string>> seenFileSystems;
    auto take = [&](const MountEntry& mount) {
        // The device number names the file system (anonymous ones included).
        const std::string id = std::to_string(mount.major) + ":" + std::to_string(mount.minor);
        if (!seenFileSystems.emplace(id, mount.root).second) return;
        volumes.push_back(mount);
    };
    for (const auto* mount : visible)
        if (mount->mountPoint == "/") take(*mount);
    for (const auto* mount : visible)
        if (mount->mountPoint != "/" && isUserVolume(*mount)) take(*mount);
    return volumes;
}

const MountEntry* MountHolding(const std::vector<MountEntry>& mounts, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const auto& mount : mounts) {
        if (!isUnder(path, mount.mountPoint) && mount.mountPoint != "/") continue;
        if (best == nullptr || mount.mountPoint.size() >= best->mountPoint.size()) best = &mount;
    }
    return best;
}

}  // namespace si32
