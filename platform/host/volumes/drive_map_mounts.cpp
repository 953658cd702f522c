#include "platform/host/volumes/drive_map_mounts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

constexpr std::array<std::string_view, 15> kNetworkFileSystems{
    "cifs",  "smb3",       "smbfs",       "ncpfs",          "afs",       "ceph",        "glusterfs",     "lustre",
    "davfs", "fuse.sshfs", "fuse.rclone", "fuse.glusterfs", "fuse.s3fs", "fuse.davfs2", "fuse.curlftpfs"};

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

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void skipBlanks(std::string_view& line) {
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

// The next blank-separated word, with the kernel's octal escapes (\040 for
// a blank, \011, \012, \134) decoded; line moves past it.
std::string nextWord(std::string_view& line) {
    skipBlanks(line);
    std::size_t end = 0;
    while (end < line.size() && !isBlank(line[end])) ++end;
    const std::string_view raw = line.substr(0, end);
    line.remove_prefix(end);
    if (raw.find('\\') == std::string_view::npos) return std::string(raw);
    std::string word;
    for (std::size_t at = 0; at < raw.size();) {
        if (raw[at] == '\\' && at + 3 < raw.size() && isOctal(raw[at + 1]) && isOctal(raw[at + 2]) &&
            isOctal(raw[at + 3])) {
            word += static_cast<char>(64 * (raw[at + 1] - '0') + 8 * (raw[at + 2] - '0') + (raw[at + 3] - '0'));
            at += 4;
        } else {
            word += raw[at++];
        }
    }
    return word;
}

// A number that ends at a blank, as the table's first two fields are.
bool skipNumber(std::string_view& line) {
    skipBlanks(line);
    long value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || end == line.data() + line.size() || !isBlank(*end)) return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return true;
}

// "major:minor", the rest of the word ignored.
bool readDeviceNumber(std::string_view& line, MountEntry& entry) {
    skipBlanks(line);
    const char* const last = line.data() + line.size();
    const auto major = std::from_chars(line.data(), last, entry.major);
    if (major.ec != std::errc() || major.ptr == last || *major.ptr != ':') return false;
    if (std::from_chars(major.ptr + 1, last, entry.minor).ec != std::errc()) return false;
    while (!line.empty() && !isBlank(line.front())) line.remove_prefix(1);
    return true;
}

// One line of /proc/self/mountinfo:
//   id parent major:minor root mount-point options [optional...] - type source fs-options
std::optional<MountEntry> parseMountLine(std::string_view line) {
    MountEntry entry;
    if (!skipNumber(line) || !skipNumber(line) || !readDeviceNumber(line, entry)) return std::nullopt;
    entry.root = nextWord(line);
    entry.mountPoint = nextWord(line);
    entry.options = nextWord(line);
    const auto separator = line.find(" - ");
    if (separator == std::string_view::npos) return std::nullopt;
    line.remove_prefix(separator + 3);
    entry.fsType = nextWord(line);
    if (line.empty()) return std::nullopt;
    // Two blanks: a mount without a source.
    if (!line.starts_with("  ")) entry.source = nextWord(line);
    // The kernel always writes the file system's options.
    skipBlanks(line);
    if (line.empty()) return std::nullopt;
    if (const std::string own = nextWord(line); !own.empty()) entry.options += "," + own;
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
    for (std::string_view line : splitLines(mountinfo)) {
        line = upToNul(line);
        if (line.ends_with('\r')) line.remove_suffix(1);
        skipBlanks(line);
        if (line.empty() || line.front() == '#') continue;
        // A line that cannot be read is left out; the rest of the table stands.
        if (auto entry = parseMountLine(line)) mounts.push_back(std::move(*entry));
    }
    return mounts;
}

bool IsNetworkFileSystem(std::string_view fsType) {
    // Every NFS flavour and every 9P transport.
    if (fsType.starts_with("nfs") || fsType.starts_with("9p")) return true;
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
    // Only the last mount on a point is visible. Tables of tens of thousands
    // of mounts exist (containers, automounters): every step stays linear.
    std::vector<const MountEntry*> visible;
    std::unordered_set<std::string_view> seenPoints;
    for (auto it = mounts.rbegin(); it != mounts.rend(); ++it)
        if (seenPoints.insert(it->mountPoint).second) visible.push_back(&*it);
    std::reverse(visible.begin(), visible.end());

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
    std::unordered_map<uint64_t, std::size_t> chosenByDevice;
    for (const auto* mount : candidates) {
        const uint64_t device = static_cast<uint64_t>(mount->major) << 32 | mount->minor;
        const auto [same, added] = chosenByDevice.try_emplace(device, chosen.size());
        if (added) chosen.push_back(mount);
        else if (depth(*mount) < depth(*chosen[same->second])) chosen[same->second] = mount;
    }
    std::vector<MountEntry> volumes;
    volumes.reserve(chosen.size());
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
