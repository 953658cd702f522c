// What a name says about where it leads, the same on every system: the
// opening of the file is each system's own (os/, win32/).
#include "platform/input_file.h"

namespace si32 {

bool NamesInsideFolder(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.find('\0') != std::string_view::npos) return false;
    while (!name.empty()) {
        const std::size_t slash = name.find('/');
        if (name.substr(0, slash) == "..") return false;
        if (slash == std::string_view::npos) break;
        name.remove_prefix(slash + 1);
    }
    return true;
}

}  // namespace si32
