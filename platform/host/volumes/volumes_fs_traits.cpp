#include "platform/host/volumes/volumes_fs_traits.h"

#include <array>
#include <cctype>

#include "platform/host/volumes/drive_map_mounts.h"
#include "platform/text_helpers.h"

namespace si32 {
namespace {

constexpr uint32_t kNamesKept = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
constexpr uint32_t kUnicodeNames = FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK;

struct FileSystemTraits {
    std::string_view type;
    std::string_view windowsName;  // "" where Windows has none: the Linux name in capitals
    uint32_t flags;
    bool posixAcls;  // on unless mounted with noacl
};

constexpr std::array<FileSystemTraits, 26> kTraits{{
    {"ext2", "", kNamesKept, true},
    {"ext3", "", kNamesKept, true},
    {"ext4", "", kNamesKept, true},
    {"xfs", "", kNamesKept, true},
    {"btrfs", "", kNamesKept, true},
    {"f2fs", "", kNamesKept, true},
    {"jfs", "", kNamesKept, true},
    {"reiserfs", "", kNamesKept, true},
    {"bcachefs", "", kNamesKept, true},
    {"nilfs2", "", kNamesKept, false},
    {"zfs", "", kNamesKept, false},
    {"tmpfs", "", kNamesKept, true},
    {"ramfs", "", kNamesKept, false},
    {"overlay", "", kNamesKept, false},
    {"nfs", "", kNamesKept, true},
    {"nfs4", "", kNamesKept, true},
    {"cifs", "", kNamesKept, false},
    {"smb3", "", kNamesKept, false},
    {"fuse.sshfs", "", kNamesKept, false},
    // Long names keep their case and are stored as UTF-16; lookups fold case.
    {"vfat", "FAT", kUnicodeNames, false},
    {"exfat", "exFAT", kUnicodeNames, false},
    // Linux NTFS drivers match names exactly unless told otherwise.
    {"ntfs", "NTFS", kNamesKept | FILE_UNICODE_ON_DISK | FILE_FILE_COMPRESSION, false},
    {"ntfs3", "NTFS", kNamesKept | FILE_UNICODE_ON_DISK | FILE_FILE_COMPRESSION, false},
    {"udf", "UDF", kNamesKept | FILE_UNICODE_ON_DISK, false},
    // Without Rock Ridge names are folded to lower case; what the disc holds is not known here.
    {"iso9660", "CDFS", 0, false},
    {"hfsplus", "", kUnicodeNames, false},
}};

const FileSystemTraits* traitsOf(std::string_view fileSystem) {
    for (const auto& traits : kTraits)
        if (traits.type == fileSystem) return &traits;
    return nullptr;
}

// FAT32 is defined by its cluster count.
constexpr uint64_t kFat32MinClusters = 65525;

std::string hexDigits(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
    return digits;
}

}  // namespace

std::string EffectiveFileSystem(std::string_view mountType, const VolumeTags& tags) {
    if (mountType == "fuseblk" && !tags.type.empty()) return tags.type;
    return std::string(mountType);
}

std::string WindowsFileSystemName(std::string_view fileSystem, const VolumeTags& tags, uint64_t clusters) {
    if (fileSystem == "vfat") {
        if (!tags.version.empty()) return tags.version == "FAT32" ? "FAT32" : "FAT";
        return clusters >= kFat32MinClusters ? "FAT32" : "FAT";
    }
    if (const auto* traits = traitsOf(fileSystem); traits != nullptr && !traits->windowsName.empty())
        return std::string(traits->windowsName);
    std::string_view name = fileSystem;
    if (name.starts_with("fuse.")) name.remove_prefix(5);
    std::string upper;
    for (char c : name) upper += upperAscii(c);
    return upper;
}

uint32_t FileSystemFlags(std::string_view fileSystem, std::string_view options) {
    MountEntry mount;
    mount.options = std::string(options);
    const auto* traits = traitsOf(fileSystem);
    uint32_t flags = traits != nullptr ? traits->flags : 0;
    if (mount.hasOption("nocase") || mount.hasOption("ignore_case")) flags &= ~FILE_CASE_SENSITIVE_SEARCH;
    const bool acls = (traits != nullptr && traits->posixAcls && !mount.hasOption("noacl")) || mount.hasOption("acl") ||
                      mount.hasOption("posixacl") || mount.hasOption("cifsacl");
    if (acls) flags |= FILE_PERSISTENT_ACLS;
    if (fileSystem == "btrfs") {
        const auto compress = mount.optionValue("compress");
        if (compress && *compress != "no") flags |= FILE_FILE_COMPRESSION;
        // Every file compressed, whatever it holds: the volume as a whole is.
        if (mount.hasOption("compress-force")) flags |= FILE_FILE_COMPRESSION | FILE_VOLUME_IS_COMPRESSED;
    }
    if (fileSystem == "f2fs" && mount.hasOption("compress_algorithm")) flags |= FILE_FILE_COMPRESSION;
    return flags;
}

uint32_t VolumeSerial(std::string_view fileSystem, std::string_view uuid) {
    std::string digits = hexDigits(uuid);
    if (digits.empty()) return 0;
    const bool reportedSerial = fileSystem == "vfat" || fileSystem == "exfat" || fileSystem == "ntfs" ||
                                fileSystem == "ntfs3" || fileSystem == "msdos";
    if (reportedSerial && digits.size() > 8) digits = digits.substr(digits.size() - 8);
    if (digits.size() > 8) digits.resize(8);
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

}  // namespace si32
