#pragma once
// What the resource meter measures, read from a root directory ("/" on a
// running system, a small fixture tree in tests):
//   first figure:  free file handles, from proc/sys/fs/file-nr (allocated,
//                  unused, maximum);
//   second figure: free process slots, the tasks counted in proc/loadavg
//                  against proc/sys/kernel/threads-max.
// Both as whole percentages of the system's maximum.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace reschk {

// The free share of a resource as a whole percentage (0..100), rounded to
// the nearest; nullopt when the maximum is 0.
std::optional<int> FreePercent(uint64_t used, uint64_t maximum);

// nullopt when the figure cannot be read.
std::optional<int> FreeFileHandlePercent(const std::filesystem::path& root);
std::optional<int> FreeTaskPercent(const std::filesystem::path& root);

// The line the applet reads: "85,55" and CR LF.
std::string ResTmpText(int first, int second);

// Writes a temporary file beside target, then renames it over target, so a
// reader sees the old file, no file, or the whole new one, never a part.
// Throws std::filesystem::filesystem_error or std::runtime_error.
void WriteAtomically(const std::filesystem::path& target, std::string_view text);

// Measures and writes res.tmp into directory. A figure that cannot be read
// is written as 0 (the applet then hides its meter); when neither can be
// read nothing is written. Returns the process exit status.
int Run(const std::filesystem::path& root, const std::filesystem::path& directory);

}  // namespace reschk
