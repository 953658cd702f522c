#pragma once
// The host's mount table as the drive map needs it: /proc/self/mountinfo
// parsed, and the mounts a desktop user would recognise as volumes picked
// out in the order they were mounted.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/common/mount_guard.h"

namespace si32 {

struct MountEntry {
    unsigned major = 0, minor = 0;  // st_dev of the file system; major 0 for btrfs and pseudo fs
    std::string root;               // the directory of the file system mounted here ("/" unless a bind)
    std::string mountPoint;
    std::string fsType;
    std::string source;
    std::string options;  // the mount's own options and the file system's, joined by commas

    bool hasOption(std::string_view name) const;
    // "compress=zstd:3" answers "zstd:3" for "compress"; nullopt when absent.
    std::optional<std::string> optionValue(std::string_view name) const;
};

// /proc/self/mountinfo read as libmount reads it (the kernel's octal escapes
// of blanks, tabs, line ends and backslashes decoded); lines that cannot be
// read are skipped. Read here rather than through libmount: a machine may
// hold tens of thousands of mounts, and libmount's reading of one line costs
// twenty times this one's, besides the three libraries it loads at start.
std::vector<MountEntry> ParseMountInfo(std::string_view mountinfo);

// The network file systems libmount knows, and the FUSE ones that reach a
// server.
bool IsNetworkFileSystem(std::string_view fsType);
// A network or FUSE file system: a server that stops answering holds every
// call on it.
bool MayHang(std::string_view fsType);

// The mounts as the guard of every file access needs them, their points
// placed under root.
std::vector<GuardedMount> GuardedMounts(const std::string& root, const std::vector<MountEntry>& mounts);

// The root file system first, then the rest in mount order: real block
// devices, network shares, optical media and a RAM disk at /tmp. Never
// pseudo file systems, bind mounts of a subdirectory, a second mount of the
// same file system, or the loop images (snaps) a desktop hides.
std::vector<MountEntry> UserVolumes(const std::vector<MountEntry>& mounts);

// The entry whose mount point holds path (the longest), among all mounts;
// the visible one when a point is mounted over.
const MountEntry* MountHolding(const std::vector<MountEntry>& mounts, std::string_view path);

}  // namespace si32
