#include "drives/drive_tables.h"

namespace si32 {

std::optional<std::string_view> DriveTypeText(uint32_t type) {
    for (const auto& entry : kDriveTypeNames)
        if (entry.type == type) return entry.text;
    return std::nullopt;
}

std::string VolumeFlagLines(uint32_t flags) {
    std::string lines;
    for (const auto& flag : kVolumeFlagNames) {
        if ((flags & flag.bit) == 0) continue;
        lines += flag.name;
        lines += "\r\n";
    }
    if (!lines.empty()) lines.resize(lines.size() - 2);
    return lines;
}

}  // namespace si32
