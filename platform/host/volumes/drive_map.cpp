#include "platform/host/volumes/drive_map.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <map>

#include "platform/host/common/host_read.h"
#include "platform/host/volumes/blkid_probe.h"
#include "platform/host/volumes/drive_map_devices.h"
#include "platform/host/volumes/drive_map_mounts.h"
#include "platform/kernel.h"

namespace si32 {
namespace {

char upper(char letter) { return upperAscii(letter); }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string normalizePath(std::string_view path) {
    std::string out;
    for (const auto& name : pathNames(path)) out += "/" + name;
    return out.empty() ? "/" : out;
}

std::string joinPath(const std::string& dir, std::string_view name) {
    return dir.ends_with('/') ? dir + std::string(name) : dir + "/" + std::string(name);
}

std::string linkTarget(const std::string& path) {
    char target[PATH_MAX];
    const auto length = ::readlink(path.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// root itself as a path on this machine, without a trailing separator.
std::string rootPathOf(const std::string& root) { return normalizePath(root); }

// Labels udev has published as /dev/disk/by-label links, by kernel name.
std::map<std::string, std::string> labelsByDevice(const std::string& root) {
    std::map<std::string, std::string> labels;
    const std::string dir = underRoot(root, "/dev/disk/by-label");
    for (const auto& name : listUnderRoot("/", dir)) {
        const auto target = linkTarget(dir + "/" + name);
        if (target.empty()) continue;
        labels.emplace(target.substr(target.rfind('/') + 1), DecodeUdevEscapes(name));
    }
    return labels;
}

struct LinkedLetter {
    char letter;
    std::string path;
    bool linked = true;  // a dosdevices entry, not the default drive_c/
};

// The prefix's dosdevices/ entries "c:" .. "z:", Wine style; relative links
// are taken from dosdevices/ itself. ("c::" entries name raw devices.)
std::vector<LinkedLetter> linkedLetters(MountGuard& mounts, const std::string& prefix) {
    std::vector<LinkedLetter> letters;
    const std::string dir = prefix + "/dosdevices";
    for (const auto& name : mounts.List(dir)) {
        if (name.size() != 2 || name[1] != ':' || !isLetter(name[0])) continue;
        std::string target = mounts.ReadLink(dir + "/" + name);
        if (target.empty()) target = dir + "/" + name;
        if (target.front() != '/') target = dir + "/" + target;
        letters.push_back({upper(name[0]), normalizePath(target), true});
    }
    return letters;
}

// A letter whose link dangles or names a FIFO or a device has no root
// directory. A target on a mount that does not answer keeps its letter: the
// calls on it fail when asked.
bool hasRootDirectory(MountGuard& mounts, const std::string& path) {
    const PathStatus status = mounts.Stat(path);
    return status.error == ETIMEDOUT || (status.ok() && S_ISDIR(status.info.st_mode));
}

class DriveDescriber {
public:
    DriveDescriber(const std::string& root, const std::vector<MountEntry>& mounts) : root_(root), mounts_(mounts) {}

    MappedDrive describe(char letter, const std::string& hostPath, const MountEntry* mount) {
        MappedDrive drive;
        drive.letter = letter;
        drive.hostPath = hostPath;
        if (mount == nullptr) mount = MountHolding(mounts_, onThisMachine(hostPath));
        if (mount == nullptr) {
            drive.driveType = 0;  // a directory outside every known mount
            return drive;
        }
        drive.source = mount->source;
        drive.fsType = mount->fsType;
        drive.mountPoint = normalizePath(underRoot(root_, mount->mountPoint));
        drive.options = mount->options;
        const auto device = FindBlockDevice(root_, *mount);
        drive.driveType = DriveTypeOf(*mount, device);
        if (IsNetworkFileSystem(mount->fsType)) drive.listLabel = mount->source;
        if (!device) return drive;
        drive.device = device->name;
        drive.deviceNumber = device->number;
        drive.deviceDiskDir = device->diskDir;
        drive.listLabel = label(device->name);
        return drive;
    }

private:
    // A path on this machine as the mount table names it (without the root).
    std::string onThisMachine(const std::string& path) const {
        const std::string root = normalizePath(root_);
        if (root == "/" || !pathWithin(path, root)) return path;
        return path.size() == root.size() ? "/" : path.substr(root.size());
    }

    std::string label(const std::string& device) {
        if (!labels_) labels_ = labelsByDevice(root_);
        const auto found = labels_->find(device);
        return found == labels_->end() ? std::string() : found->second;
    }

    const std::string& root_;
    const std::vector<MountEntry>& mounts_;
    std::optional<std::map<std::string, std::string>> labels_;
};

}  // namespace

DriveMap DriveMap::Build(const HostContext& context) {
    auto mounts = ParseMountInfo(readUnderRoot(context.root, "/proc/self/mountinfo").value_or(""));
    if (auto root = UnlistedRoot(rootPathOf(context.root), mounts)) mounts.insert(mounts.begin(), std::move(*root));
    DriveDescriber describer(context.root, mounts);
    DriveMap map;
    map.mounts = context.mounts;

    auto linked = linkedLetters(*map.mounts, context.prefix);
    const auto hasLetter = [&](char letter) {
        return std::any_of(linked.begin(), linked.end(), [&](const auto& l) { return l.letter == letter; });
    };
    if (!hasLetter('C')) linked.push_back({'C', normalizePath(context.prefix + "/drive_c"), false});
    for (const auto& l : linked) {
        MappedDrive drive = describer.describe(l.letter, l.path, nullptr);
        if (l.linked && !hasRootDirectory(*map.mounts, l.path)) {
            drive.rootDirectory = false;
            drive.driveType = DRIVE_NO_ROOT_DIR;
        }
        map.drives_.push_back(std::move(drive));
    }

    // A volume some letter already links to keeps that letter alone.
    char next = 'D';
    for (const auto& volume : UserVolumes(mounts)) {
        const auto hostPath = normalizePath(underRoot(context.root, volume.mountPoint));
        if (std::any_of(linked.begin(), linked.end(), [&](const auto& l) { return l.path == hostPath; })) continue;
        while (next <= 'Z' && hasLetter(next)) ++next;
        if (next > 'Z') break;
        map.drives_.push_back(describer.describe(next++, hostPath, &volume));
    }
    std::sort(map.drives_.begin(), map.drives_.end(), [](const auto& a, const auto& b) { return a.letter < b.letter; });
    return map;
}

const MappedDrive* DriveMap::find(char letter) const {
    for (const auto& d : drives_)
        if (d.letter == upper(letter)) return &d;
    return nullptr;
}

std::optional<std::string> DriveMap::ToHostPath(std::string_view windowsPath) const {
    if (!windowsPath.empty() && windowsPath.front() == '/') return std::string(windowsPath);
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::nullopt;
    const MappedDrive* drive = find(windowsPath[0]);
    if (drive == nullptr) return std::nullopt;

    std::string rest(windowsPath.substr(2));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    rest = normalizePath(rest);  // "..", "." and doubled separators, never above the drive's root
    std::string path = drive->hostPath;
    bool matching = true;  // until a component is missing: below it nothing can match
    std::size_t at = 1;
    while (at < rest.size()) {
        auto end = rest.find('/', at);
        if (end == std::string::npos) end = rest.size();
        const std::string name = rest.substr(at, end - at);
        at = end + 1;
        std::string next = joinPath(path, name);
        if (matching && !mounts->Lstat(next).ok()) {
            const auto names = mounts->List(path);
            const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& candidate) {
                return equalsNoCase(candidate, name);
            });
            if (found != names.end()) next = joinPath(path, *found);
            else matching = false;
        }
        path = std::move(next);
    }
    return path;
}

std::optional<std::string> DriveMap::ToWindowsPath(std::string_view hostPath) const {
    if (hostPath.empty() || hostPath.front() != '/') return std::nullopt;
    const std::string path = normalizePath(hostPath);
    const MappedDrive* best = nullptr;
    for (const auto& drive : drives_)
        if (pathWithin(path, drive.hostPath) && (best == nullptr || drive.hostPath.size() > best->hostPath.size()))
            best = &drive;
    if (best == nullptr) return std::nullopt;
    std::string rest =
        best->hostPath == "/" ? path.substr(1) : path.substr(std::min(path.size(), best->hostPath.size() + 1));
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return std::string(1, best->letter) + ":\\" + rest;
}

}  // namespace si32
