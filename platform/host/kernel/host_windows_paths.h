#pragma once
// Windows paths as the program writes them, made whole: drive, folders and
// name, taken from a current drive and a current directory per drive.
#include <functional>
#include <string>
#include <string_view>

namespace si32 {

inline constexpr std::string_view kWindowsDirectory = "C:\\WINDOWS";
inline constexpr std::string_view kSystemDirectory = "C:\\WINDOWS\\SYSTEM";

// "C:\DIR\FILE" for any of "C:\DIR\FILE", "C:FILE", "\DIR\FILE", "FILE",
// with "/" taken as "\" and "." and ".." resolved (".." stops at the root).
// currentDirectoryOf(letter) answers the directory below that drive's root,
// "" for the root itself, "DIR\SUB" otherwise. Letters come back upper case.
std::string fullWindowsPath(std::string_view path, char currentDrive,
                            const std::function<std::string(char)>& currentDirectoryOf);

// The part after the last "\": the file's name.
std::string_view windowsBaseName(std::string_view path);
// Everything before the last "\", "C:\" for a file in the root.
std::string windowsParent(std::string_view fullPath);

// A host path ("/usr/bin/tool"), accepted as itself where a path is expected.
inline bool isHostPath(std::string_view path) { return !path.empty() && path.front() == '/'; }

}  // namespace si32
