#pragma once
// REGEDIT4 text, read into and written from the registry tree.
#include <string>
#include <string_view>
#include <vector>

#include "platform/engine/registry_store.h"
#include "platform/engine/registry_tree.h"

namespace si32::regtree {

// How a registry file is read. codePage: the ANSI code page texts are kept
// in; a file in UTF-16LE with its byte-order mark (the "Windows Registry
// Editor Version 5.00" export) is converted to it. skipped: when given, a
// line that cannot be read is recorded there ("file: line N: fault") and
// the rest is applied, as regedit imports; otherwise the first such line
// throws.
struct RegistryFileReading {
    uint32_t codePage = 65001;
    std::vector<SkippedLine>* skipped = nullptr;
};

// Applies the text to tree. Throws RegistryParseError naming sourceName, the
// line and the fault; tree may then be half changed, so callers apply to a
// copy.
void ApplyRegedit4(std::string_view text, std::string_view sourceName, Tree& tree,
                   const RegistryFileReading& reading = {});

// The key (named by its full path, root included) and its subtree as
// REGEDIT4 text, one section per key, CR LF line ends.
std::string WriteRegedit4(const Key& key, std::string_view fullPath);

}  // namespace si32::regtree
