// The registry calls answer from the store built at start; the user name is
// the effective user's login name.
#include <unistd.h>

#include "platform/contract/buffer_conventions.h"
#include "platform/host/machine/host_passwd.h"
#include "platform/host/registry/host_registry.h"

namespace si32 {

HostRegistry::HostRegistry(const HostContext& context, RegistryStore& store) : context_(context), store_(store) {}

int32_t HostRegistry::RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                                    HKEY& result) {
    return store_.RegOpenKeyExA(key, subKey, options, samDesired, result);
}

int32_t HostRegistry::RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                                       uint32_t& dataSize) {
    return store_.RegQueryValueExA(key, valueName, type, data, dataSize);
}

int32_t HostRegistry::RegCloseKey(HKEY key) { return store_.RegCloseKey(key); }

int32_t HostRegistry::RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) {
    return store_.RegConnectRegistryA(machineName, key, result);
}

int32_t HostRegistry::GetUserNameA(std::span<char> buffer, uint32_t& size) {
    const auto user = lookUpUser(context_.root, static_cast<uint32_t>(::geteuid()));
    if (!user) return 0;
    return storeNameAnswer(user->login, buffer, size, true);
}

}  // namespace si32
