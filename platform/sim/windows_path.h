#pragma once
// Windows paths inside the simulated machine: drive-letter paths with
// backslashes, matched without regard to case as Windows matches them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_helpers.h"

namespace si32::sim {

// A full path ("C:\", "C:\WINDOWS\SYSTEM") split into its drive letter
// (upper case) and its folder and file names, "." and ".." resolved.
struct WindowsPath {
    char drive = 'C';
    std::vector<std::string> names;

    std::string text() const;  // "C:\" for a root, "C:\A\B" otherwise
    std::string key() const { return lowerAscii(text()); }
    WindowsPath parent() const;
    std::string leaf() const { return names.empty() ? std::string() : names.back(); }
    WindowsPath child(std::string_view name) const;
};

// "X:\..." with a letter, a colon and a backslash (or slash).
bool isFullPath(std::string_view text);
// A name with no drive and no folder part.
bool isBareName(std::string_view text);

// Parses a full path; nullopt when text is not one.
std::optional<WindowsPath> parseFullPath(std::string_view text);

// Resolves text the way Windows does against the current directory of each
// drive: "X:\a" absolute, "X:a" from drive X's current directory, "\a" from
// the current drive's root, "a" from the current directory. currentDirOf
// answers the current directory of a drive letter (upper case).
template <class CurrentDirOf>
WindowsPath resolvePath(std::string_view text, char currentDrive, CurrentDirOf currentDirOf);

// '*' and '?' wildcards, case-insensitive, as a file name pattern.
bool matchesPattern(std::string_view pattern, std::string_view name);
bool hasWildcards(std::string_view name);

// Internal: splits a relative part onto a base path.
WindowsPath appendRelative(WindowsPath base, std::string_view relative);

template <class CurrentDirOf>
WindowsPath resolvePath(std::string_view text, char currentDrive, CurrentDirOf currentDirOf) {
    auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    auto isSep = [](char c) { return c == '\\' || c == '/'; };
    char drive = currentDrive;
    if (text.size() >= 2 && isLetter(text[0]) && text[1] == ':') {
        drive = static_cast<char>(text[0] & ~0x20);
        text.remove_prefix(2);
        if (!text.empty() && isSep(text[0])) return appendRelative(WindowsPath{drive, {}}, text);
        return appendRelative(currentDirOf(drive), text);
    }
    if (!text.empty() && isSep(text[0])) return appendRelative(WindowsPath{drive, {}}, text);
    return appendRelative(currentDirOf(drive), text);
}

}  // namespace si32::sim
