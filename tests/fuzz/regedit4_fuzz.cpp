// Any text either loads or is refused with RegistryParseError; a store that
// loaded exports text that loads back to the same export, and queries on it
// stay inside their buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/engine/registry_store.h"

namespace {

constexpr si32::HKEY kRoots[] = {si32::HKEY_CLASSES_ROOT, si32::HKEY_CURRENT_USER, si32::HKEY_LOCAL_MACHINE,
                                 si32::HKEY_USERS, si32::HKEY_CURRENT_CONFIG};

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    si32::RegistryStore store;
    store.SetString(si32::HKEY_LOCAL_MACHINE, "Kept", "v", "before");
    try {
        store.LoadRegedit4(text, "fuzz");
    } catch (const si32::RegistryParseError&) {
        // Refused text must leave the store as it was.
        check(store.ExportRegedit4(si32::HKEY_LOCAL_MACHINE, "Kept").find("\"v\"=\"before\"") != std::string::npos);
        return 0;
    }

    for (si32::HKEY root : kRoots) {
        std::string exported = store.ExportRegedit4(root, "");
        si32::RegistryStore copy;
        copy.LoadRegedit4(exported, "export");  // throws, and so fails, when the export is unreadable
        check(copy.ExportRegedit4(root, "") == exported);
    }

    // The default values of a few likely keys drive the size-only, too-small
    // and fitting paths of the query.
    for (const char* path : {"", "Kept", "a", "a\\b"}) {
        si32::HKEY key = 0;
        if (store.RegOpenKeyExA(si32::HKEY_LOCAL_MACHINE, path, 0, si32::KEY_READ, key) != si32::ERROR_SUCCESS)
            continue;
        for (uint32_t bufferSize : {0u, 1u, 4u, 256u}) {
            std::string buffer(bufferSize, '\0');
            uint32_t type = 0, stated = bufferSize;
            int32_t status = store.RegQueryValueExA(key, "", type, buffer, stated);
            check(status != si32::ERROR_SUCCESS || stated <= bufferSize);
        }
        check(store.RegCloseKey(key) == si32::ERROR_SUCCESS);
    }
    return 0;
}
