#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <stdexcept>

#include "platform/contract/buffer_conventions.h"
#include "platform/platform.h"

namespace si32::sim {

SimRegistry::SimRegistry(const MachineDescription& description, const FailingCalls& failing)
    : userName_(description.userName), failing_(failing) {
    if (description.registryText) {
        try {
            store_.LoadRegedit4(*description.registryText, description.registrySource, description.ansiCodePage);
        } catch (const RegistryParseError& error) {
            std::string message = error.what();
            std::replace(message.begin(), message.end(), '\n', ' ');
            throw MachineDescriptionError(message);
        }
    }
    for (std::size_t i = 0; i < description.registryReadOnlyKeys.size(); ++i) {
        try {
            store_.AddReadOnlyKey(description.registryReadOnlyKeys[i]);
        } catch (const std::invalid_argument&) {
            throw MachineDescriptionError(description.source + ": registry_read_only_keys[" + std::to_string(i) +
                                          "]: expected a key under a predefined root (HKEY_LOCAL_MACHINE\\...)");
        }
    }
    store_.SetConnectFails(description.registryConnectFails);
    if (description.computerName) store_.SetComputerName(*description.computerName);
}

int32_t SimRegistry::RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                                   HKEY& result) {
    if (failing_.fails("RegOpenKeyExA")) return ERROR_FILE_NOT_FOUND;
    return store_.RegOpenKeyExA(key, subKey, options, samDesired, result);
}

int32_t SimRegistry::RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                                      uint32_t& dataSize) {
    if (failing_.fails("RegQueryValueExA")) return ERROR_FILE_NOT_FOUND;
    return store_.RegQueryValueExA(key, valueName, type, data, dataSize);
}

int32_t SimRegistry::RegCloseKey(HKEY key) {
    if (failing_.fails("RegCloseKey")) return ERROR_FILE_NOT_FOUND;
    return store_.RegCloseKey(key);
}

int32_t SimRegistry::RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) {
    if (failing_.fails("RegConnectRegistryA")) return ERROR_FILE_NOT_FOUND;
    return store_.RegConnectRegistryA(machineName, key, result);
}

int32_t SimRegistry::GetUserNameA(std::span<char> buffer, uint32_t& size) {
    if (failing_.fails("GetUserNameA") || !userName_) return 0;
    return storeNameAnswer(*userName_, buffer, size, true);
}

}  // namespace si32::sim
