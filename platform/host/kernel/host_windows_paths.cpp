#include "platform/host/kernel/host_windows_paths.h"

#include <cctype>
#include <vector>

#include "platform/text_helpers.h"

namespace si32 {
namespace {

void appendComponents(std::vector<std::string>& parts, std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view part = text.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
}

}  // namespace

std::string fullWindowsPath(std::string_view path, char currentDrive,
                            const std::function<std::string(char)>& currentDirectoryOf) {
    char drive = currentDrive;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        drive = path[0];
        path.remove_prefix(2);
    }
    drive = upperAscii(drive);
    std::vector<std::string> parts;
    const bool rooted = !path.empty() && (path.front() == '\\' || path.front() == '/');
    if (!rooted) appendComponents(parts, currentDirectoryOf(drive));
    appendComponents(parts, path);
    std::string full{drive, ':', '\\'};
    for (size_t i = 0; i < parts.size(); ++i) full += (i == 0 ? "" : "\\") + parts[i];
    return full;
}

std::string_view windowsBaseName(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string windowsParent(std::string_view fullPath) {
    const size_t slash = fullPath.find_last_of('\\');
    if (slash == std::string_view::npos) return std::string(fullPath);
    if (slash <= 2) return std::string(fullPath.substr(0, 3));
    return std::string(fullPath.substr(0, slash));
}

}  // namespace si32
