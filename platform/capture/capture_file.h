#pragma once
// Writes a file whole or not at all: the text goes to a new file beside the
// target, is flushed to the disk, then takes the target's name.
#include <optional>
#include <string>

namespace si32::capture {

// nullopt on success; otherwise one line saying what failed, and no file
// (neither the target nor a partial one) is left changed.
std::optional<std::string> WriteFileWhole(const std::string& path, const std::string& text);

}  // namespace si32::capture
