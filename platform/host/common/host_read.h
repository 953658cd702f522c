#pragma once
// Reading the host's files relative to the context's root, and the small text
// formats they come in.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace si32 {

// root + an absolute host path ("/proc/meminfo"); root "/" leaves it as is.
std::string underRoot(const std::string& root, std::string_view path);
// The whole file, or nullopt when it cannot be read, is no regular file or
// holds more than the input limit (a FIFO never blocks the read).
std::optional<std::string> readUnderRoot(const std::string& root, std::string_view path);
// The first line without its line end and surrounding blanks (sysfs values).
std::optional<std::string> readLineUnderRoot(const std::string& root, std::string_view path);
// The names in a directory under root, sorted; empty when it cannot be read.
std::vector<std::string> listUnderRoot(const std::string& root, std::string_view path);

std::string_view trimBlanks(std::string_view text);
std::vector<std::string_view> splitLines(std::string_view text);

// KEY=value lines as a shell reads them (os-release, /etc/default/keyboard):
// double quotes with backslash escapes, single quotes, comments.
std::map<std::string, std::string> parseShellAssignments(std::string_view text);

// "key : value" lines up to the first blank line (one /proc/cpuinfo block);
// keys keep their inner blanks ("cpu MHz"), the first occurrence wins.
std::map<std::string, std::string> parseColonFields(std::string_view text);

// Characters compared without regard to ASCII case.
bool equalsNoCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view text);

}  // namespace si32
