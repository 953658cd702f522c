#include <algorithm>
#include <string>

#include "platform/win32/win32_services.h"

namespace si32 {
namespace {

// The predefined keys keep their Windows numbers; as handles they are those
// numbers sign-extended, which is how windows.h spells them.
bool isPredefined(HKEY key) { return key >= 0x80000000u && key <= 0x80000006u; }

::HKEY predefined(HKEY key) {
    return reinterpret_cast<::HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<int32_t>(key))));
}

}  // namespace

Win32Registry::~Win32Registry() {
    for (const auto& [number, key] : open_) ::RegCloseKey(key);
}

::HKEY Win32Registry::real(HKEY key) const {
    if (isPredefined(key)) return predefined(key);
    const auto found = open_.find(key);
    return found == open_.end() ? nullptr : found->second;
}

HKEY Win32Registry::remember(::HKEY key) {
    const HKEY number = next_++;
    open_[number] = key;
    return number;
}

int32_t Win32Registry::RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                                     HKEY& result) {
    const ::HKEY parent = real(key);
    if (parent == nullptr) return ERROR_INVALID_HANDLE;
    const std::string name(subKey);
    ::HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(parent, name.c_str(), options, samDesired, &opened);
    if (status == ERROR_SUCCESS) result = remember(opened);
    return status;
}

int32_t Win32Registry::RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                                        uint32_t& dataSize) {
    const ::HKEY handle = real(key);
    if (handle == nullptr) return ERROR_INVALID_HANDLE;
    const std::string name(valueName);
    // Never more than the buffer holds, whatever size the caller states.
    DWORD size = std::min<DWORD>(dataSize, static_cast<DWORD>(data.size()));
    DWORD kind = 0;
    const LONG status = ::RegQueryValueExA(handle, name.c_str(), nullptr, &kind,
                                           data.empty() ? nullptr : reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        type = kind;
        dataSize = size;
    }
    return status;
}

int32_t Win32Registry::RegCloseKey(HKEY key) {
    if (isPredefined(key)) return ::RegCloseKey(predefined(key));
    const auto found = open_.find(key);
    if (found == open_.end()) return ERROR_INVALID_HANDLE;
    const LONG status = ::RegCloseKey(found->second);
    open_.erase(found);
    return status;
}

int32_t Win32Registry::RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) {
    if (!isPredefined(key)) return ERROR_INVALID_HANDLE;
    const std::string machine(machineName);
    ::HKEY connected = nullptr;
    const LONG status = ::RegConnectRegistryA(machine.empty() ? nullptr : machine.c_str(), predefined(key), &connected);
    if (status == ERROR_SUCCESS) result = remember(connected);
    return status;
}

int32_t Win32Registry::GetUserNameA(std::span<char> buffer, uint32_t& size) {
    DWORD n = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
    const BOOL ok = ::GetUserNameA(buffer.data(), &n);
    size = n;
    return ok ? 1 : 0;
}

}  // namespace si32
