#pragma once
// The registry values the live machine supplies, as data: the store is built
// from them, and tests read them over fixture trees.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/common/mount_guard.h"
#include "platform/host/machine/machine_facts.h"
#include "platform/registry.h"

namespace si32 {

struct LiveRegistryValue {
    std::string key;  // below HKEY_LOCAL_MACHINE
    std::string name;
    uint32_t type = REG_SZ;  // or REG_DWORD
    std::string text;        // REG_SZ
    uint32_t dword = 0;      // REG_DWORD
};

struct LiveRegistrySources {
    std::string root = "/";
    MachineFacts machine;
    std::string release;     // the kernel release; "" when unknown
    uint32_t uid = 0;        // whose full name is the registered owner
    std::string searchPath;  // $PATH, where the system-information tool is looked for
    std::shared_ptr<MountGuard> mounts = std::make_shared<MountGuard>();  // guards the search
};

std::vector<LiveRegistryValue> liveRegistryValues(const LiveRegistrySources& sources);

// The operating system's name from os-release text: PRETTY_NAME, else NAME
// and VERSION, else "Linux" as os-release defines.
std::string operatingSystemName(std::string_view osRelease);

// The desktop's own system-information tool on the search path, if any.
std::optional<std::string> systemInformationTool(const std::string& root, std::string_view searchPath,
                                                 MountGuard& mounts);

}  // namespace si32
