#pragma once
// REGEDIT4 text, read into and written from the registry tree.
#include <string>
#include <string_view>

#include "platform/engine/registry_tree.h"

namespace si32::regtree {

// Applies the text to tree. Throws RegistryParseError naming sourceName, the
// line and the fault; tree may then be half changed, so callers apply to a
// copy.
void ApplyRegedit4(std::string_view text, std::string_view sourceName, Tree& tree);

// The key (named by its full path, root included) and its subtree as
// REGEDIT4 text, one section per key, CR LF line ends.
std::string WriteRegedit4(const Key& key, std::string_view fullPath);

}  // namespace si32::regtree
