#include "platform/capture/windows_paths.h"

#include <cctype>
#include <vector>

#include "platform/engine/registry_tree.h"
#include "platform/text_helpers.h"

namespace si32::capture {

std::string fullWindowsPath(std::string_view path, std::string_view currentDirectory) {
    std::string joined;
    if (path.size() >= 2 && path[1] == ':') {
        const bool sameDrive = !currentDirectory.empty() && upperAscii(currentDirectory[0]) == upperAscii(path[0]);
        if (path.size() >= 3 && (path[2] == '\\' || path[2] == '/')) joined = std::string(path);
        else if (sameDrive) joined = std::string(currentDirectory) + "\\" + std::string(path.substr(2));
        else joined = std::string(path.substr(0, 2)) + "\\" + std::string(path.substr(2));
    } else if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
        joined = std::string(currentDirectory.substr(0, 2)) + std::string(path);
    } else {
        joined = std::string(currentDirectory) + "\\" + std::string(path);
    }
    // Split into names and fold "." and "..", as Windows does before a lookup.
    std::vector<std::string> names;
    std::string name;
    for (size_t i = 2; i <= joined.size(); ++i) {
        const char c = i < joined.size() ? joined[i] : '\\';
        if (c != '\\' && c != '/') {
            name += c;
            continue;
        }
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        name.clear();
    }
    std::string full{upperAscii(joined[0]), ':', '\\'};
    for (size_t i = 0; i < names.size(); ++i) full += (i == 0 ? "" : "\\") + names[i];
    // A name the program wrote with a trailing backslash asks for a folder.
    if (!path.empty() && (path.back() == '\\' || path.back() == '/') && !names.empty()) full += "\\";
    return full;
}

std::string iniFilePath(std::string_view fileName, std::string_view windowsDirectory) {
    if (fileName.find_first_of("\\/:") != std::string_view::npos) return fullWindowsPath(fileName, windowsDirectory);
    std::string directory(windowsDirectory);
    if (!directory.empty() && directory.back() != '\\') directory += '\\';
    return directory + std::string(fileName);
}

std::optional<char> driveLetterOf(std::string_view path) {
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) return std::nullopt;
    return upperAscii(path[0]);
}

std::string fullKeyPath(HKEY root, std::string_view path) {
    std::string name(regtree::rootName(root));
    if (!path.empty()) name += "\\" + std::string(path);
    return name;
}

}  // namespace si32::capture
