// Placeholder until the host volumes land: C: alone, on the prefix's drive_c.
#include "platform/host/drive_map.h"

#include <cctype>

namespace si32 {

DriveMap DriveMap::Build(const HostContext& context) {
    DriveMap map;
    MappedDrive c;
    c.letter = 'C';
    c.hostPath = context.prefix + "/drive_c";
    c.driveType = 3;
    map.drives_.push_back(c);
    return map;
}

const MappedDrive* DriveMap::find(char letter) const {
    for (const auto& d : drives_)
        if (d.letter == std::toupper(static_cast<unsigned char>(letter))) return &d;
    return nullptr;
}

std::optional<std::string> DriveMap::ToHostPath(std::string_view windowsPath) const {
    if (!windowsPath.empty() && windowsPath.front() == '/') return std::string(windowsPath);
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return std::nullopt;
    const MappedDrive* d = find(windowsPath[0]);
    if (d == nullptr) return std::nullopt;
    std::string out = d->hostPath;
    for (char ch : windowsPath.substr(2)) out += ch == '\\' ? '/' : ch;
    return out;
}

std::optional<std::string> DriveMap::ToWindowsPath(std::string_view) const { return std::nullopt; }

}  // namespace si32
