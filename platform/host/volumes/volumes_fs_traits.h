#pragma once
// What each Linux file system does, told the way a Windows volume query tells
// it: the file-system name, the flags of GetVolumeInformationA, and the
// serial number.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/host/volumes/blkid_probe.h"

namespace si32 {

inline constexpr uint32_t FILE_CASE_SENSITIVE_SEARCH = 0x1;
inline constexpr uint32_t FILE_CASE_PRESERVED_NAMES = 0x2;
inline constexpr uint32_t FILE_UNICODE_ON_DISK = 0x4;
inline constexpr uint32_t FILE_PERSISTENT_ACLS = 0x8;
inline constexpr uint32_t FILE_FILE_COMPRESSION = 0x10;
inline constexpr uint32_t FILE_VOLUME_IS_COMPRESSED = 0x8000;

// The mount's type, or what blkid found on the device for a FUSE block
// mount ("fuseblk" holding NTFS).
std::string EffectiveFileSystem(std::string_view mountType, const VolumeTags& tags);

// "NTFS", "FAT32", "CDFS", "UDF" where Windows has a name, else the Linux
// name in capitals ("EXT4", "NFS4", "SSHFS"). clusters decides FAT from
// FAT32 when blkid gave no version.
std::string WindowsFileSystemName(std::string_view fileSystem, const VolumeTags& tags, uint64_t clusters);

// options: the mount's options and its file system's, joined by commas.
// A file system this table does not know claims nothing.
uint32_t FileSystemFlags(std::string_view fileSystem, std::string_view options);

// FAT, exFAT and NTFS serials as the volume reports them (the low 32 bits of
// NTFS's 64); the first 32 bits of the UUID otherwise; 0 without one.
uint32_t VolumeSerial(std::string_view fileSystem, std::string_view uuid);

}  // namespace si32
