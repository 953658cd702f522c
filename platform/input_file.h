#pragma once
// Reading a file that the user names or writes (a machine description, a
// registry file, an INI file) whole and safely: opened without blocking, so
// a FIFO never holds the program; only a regular file; never more than a
// stated number of bytes, so /dev/zero or a runaway file cannot eat memory.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace si32 {

// Descriptions and registry files: far above any real one.
inline constexpr std::size_t kInputFileLimit = std::size_t{64} << 20;

struct InputFile {
    std::optional<std::string> text;  // nullopt when refused
    std::string refusal;              // then: why, one line ("not a regular file")
    bool missing = false;             // the refusal is that nothing is there
};

InputFile ReadInputFile(const std::string& path, std::size_t limit = kInputFileLimit);

// True when name stays inside the folder it is taken in: relative, with no
// ".." among its parts (and no NUL, which would cut it short).
bool NamesInsideFolder(std::string_view name);

// A file named relative to folder that stays inside it: a name that is
// absolute or has ".." is refused before anything is opened, and so is a
// symbolic link that leads out of the folder (where the kernel can tell;
// elsewhere a link at the end of the name is not followed).
InputFile ReadInputFileIn(const std::string& folder, const std::string& name, std::size_t limit = kInputFileLimit);

}  // namespace si32
