#pragma once
// The fixed texts of the "Drive Info" frame: what each drive type reads as,
// and the file-system flags it lists, in the order they are listed.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace si32 {

struct DriveTypeName {
    uint32_t type;
    std::string_view text;
};

// Types 0 and anything unlisted have no text: the field keeps whatever the
// previous drive left there.
inline constexpr std::array<DriveTypeName, 6> kDriveTypeNames{{
    {1, "Not Available"},
    {2, "Removable"},
    {3, "Fixed"},
    {4, "Remote (Network)"},
    {5, "CD"},
    {6, "Ramdisk"},
}};

struct VolumeFlagName {
    uint32_t bit;
    std::string_view name;
};

inline constexpr std::array<VolumeFlagName, 6> kVolumeFlagNames{{
    {0x2, "FS_CASE_IS_PRESERVED"},
    {0x1, "FS_CASE_SENSITIVE"},
    {0x4, "FS_UNICODE_STORED_ON_DISK"},
    {0x8, "FS_PERSISTENT_ACLS"},
    {0x8000, "FS_VOL_IS_COMPRESSED"},
    {0x10, "FS_FILE_COMPRESSION"},
}};

std::optional<std::string_view> DriveTypeText(uint32_t type);

// One flag name per line (CR LF between them, none after the last); empty
// when no listed bit is set.
std::string VolumeFlagLines(uint32_t flags);

}  // namespace si32
