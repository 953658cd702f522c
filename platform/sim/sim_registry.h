#pragma once
// Registry services of the simulated machine: the four registry calls
// answered by the shared registry store, and the user name.
#include "platform/engine/registry_store.h"
#include "platform/registry.h"
#include "platform/sim/call_names.h"
#include "platform/sim/machine_description.h"

namespace si32::sim {

class SimRegistry : public Registry {
public:
    // Throws MachineDescriptionError when the registry text cannot be loaded.
    SimRegistry(const MachineDescription& description, const FailingCalls& failing);

    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                          HKEY& result) override;
    int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                             uint32_t& dataSize) override;
    int32_t RegCloseKey(HKEY key) override;
    int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) override;
    int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) override;

private:
    RegistryStore store_;
    std::optional<std::string> userName_;
    const FailingCalls& failing_;
};

}  // namespace si32::sim
