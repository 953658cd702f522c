#pragma once
// The registry on the host: a store built from the live machine's facts,
// with the prefix's registry.reg applied over them.
#include <cstdint>
#include <string_view>

#include "platform/engine/registry_store.h"
#include "platform/host/common/host_context.h"
#include "platform/host/machine/machine_facts.h"
#include "platform/platform.h"

namespace si32 {

// The live machine's facts, with the prefix's registry.reg applied over them.
RegistryStore buildHostRegistry(const HostContext& context, const MachineFacts& machine);

class HostRegistry final : public Registry {
public:
    HostRegistry(const HostContext& context, RegistryStore& store);

    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                          HKEY& result) override;
    int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                             uint32_t& dataSize) override;
    int32_t RegCloseKey(HKEY key) override;
    int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) override;
    int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) override;

private:
    const HostContext& context_;
    RegistryStore& store_;
};

}  // namespace si32
