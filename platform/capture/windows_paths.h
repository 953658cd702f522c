#pragma once
// The small path rules a recording needs: full Windows paths from what the
// program wrote, drive letters, registry key names.
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace si32::capture {

// "C:\DIR\FILE" for a path as the program wrote it, taken from the current
// directory ("C:\WORK"); "." and ".." resolved.
std::string fullWindowsPath(std::string_view path, std::string_view currentDirectory);

// Where GetPrivateProfileStringA looks for fileName: a bare name is in the
// Windows directory.
std::string iniFilePath(std::string_view fileName, std::string_view windowsDirectory);

// The upper-case letter of "x:..." ("c:\", "d:\DATA"); nullopt otherwise.
std::optional<char> driveLetterOf(std::string_view path);

// "HKEY_LOCAL_MACHINE\SOFTWARE\..." for a root and a path below it.
std::string fullKeyPath(HKEY root, std::string_view path);

}  // namespace si32::capture
