#pragma once
// Reading a file that the user names or writes (a machine description, a
// registry file, an INI file) whole and safely: opened without blocking, so
// a FIFO never holds the program; only a regular file; never more than a
// stated number of bytes, so /dev/zero or a runaway file cannot eat memory.
#include <cstddef>
#include <optional>
#include <string>

namespace si32 {

// Descriptions and registry files: far above any real one.
inline constexpr std::size_t kInputFileLimit = std::size_t{64} << 20;

struct InputFile {
    std::optional<std::string> text;  // nullopt when refused
    std::string refusal;              // then: why, one line ("not a regular file")
    bool missing = false;             // the refusal is that nothing is there
};

InputFile ReadInputFile(const std::string& path, std::size_t limit = kInputFileLimit);

}  // namespace si32
