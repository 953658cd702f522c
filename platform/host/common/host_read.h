#pragma once
// Reading the host's files relative to the context's root, and the small text
// formats they come in.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_helpers.h"

namespace si32 {

// root + an absolute host path ("/proc/meminfo"); root "/" leaves it as is.
std::string underRoot(const std::string& root, std::string_view path);
// Larger files are refused: no fact the host reads comes near it.
inline constexpr std::size_t kReadCap = 64u << 20;
// The whole regular file, or nullopt when it cannot be read or is larger than
// the cap.
std::optional<std::string> readUnderRoot(const std::string& root, std::string_view path);
// The first line without its line end and surrounding blanks (sysfs values).
std::optional<std::string> readLineUnderRoot(const std::string& root, std::string_view path);
// The names in a directory under root, sorted; empty when it cannot be read.
std::vector<std::string> listUnderRoot(const std::string& root, std::string_view path);

// The names of a path with ".", ".." and doubled separators resolved as
// text (never above the top), without asking the file system: resolving
// links could wait on a dead network mount.
std::vector<std::string> pathNames(std::string_view path);

inline std::string_view trimBlanks(std::string_view text) { return trimmed(text, " \t\r\n"); }
std::vector<std::string_view> splitLines(std::string_view text);

// KEY=value lines as a shell reads them (os-release, /etc/default/keyboard):
// double quotes with backslash escapes, single quotes, comments.
std::map<std::string, std::string> parseShellAssignments(std::string_view text);

// "key : value" lines; keys keep their inner blanks ("cpu MHz"). A blank
// line ends a block: /proc/cpuinfo writes one per processor, and some kernels
// put the fields all processors share in a block before or after them. Lines
// without a colon are skipped; Windows line ends are taken as line ends.
using ColonFields = std::map<std::string, std::string>;
std::vector<ColonFields> parseColonBlocks(std::string_view text);
// Every block's fields in one map; the first occurrence of a key wins.
ColonFields parseColonFields(std::string_view text);
// The value of the first line of that key, as parseColonFields has it,
// without reading the rest into a map.
std::optional<std::string_view> colonField(std::string_view text, std::string_view key);

}  // namespace si32
