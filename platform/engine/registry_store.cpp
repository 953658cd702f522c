// Placeholder until the registry engine lands: an empty registry.
#include "platform/engine/registry_store.h"

namespace si32 {

struct RegistryStore::Impl {};

RegistryStore::RegistryStore() : impl_(new Impl) {}
RegistryStore::~RegistryStore() { delete impl_; }
RegistryStore::RegistryStore(RegistryStore&& other) noexcept : impl_(other.impl_) { other.impl_ = nullptr; }
RegistryStore& RegistryStore::operator=(RegistryStore&& other) noexcept {
    std::swap(impl_, other.impl_);
    return *this;
}
void RegistryStore::LoadRegedit4(std::string_view, std::string_view) {}
void RegistryStore::SetValue(HKEY, std::string_view, std::string_view, uint32_t, std::string) {}
void RegistryStore::SetString(HKEY, std::string_view, std::string_view, std::string_view) {}
void RegistryStore::SetDword(HKEY, std::string_view, std::string_view, uint32_t) {}
void RegistryStore::AddReadOnlyKey(std::string_view) {}
void RegistryStore::SetConnectFails(bool) {}
std::string RegistryStore::ExportRegedit4(HKEY, std::string_view) const { return "REGEDIT4\r\n"; }
int32_t RegistryStore::RegOpenKeyExA(HKEY, std::string_view, uint32_t, uint32_t, HKEY&) { return ERROR_FILE_NOT_FOUND; }
int32_t RegistryStore::RegQueryValueExA(HKEY, std::string_view, uint32_t&, std::span<char>, uint32_t&) {
    return ERROR_FILE_NOT_FOUND;
}
int32_t RegistryStore::RegCloseKey(HKEY) { return ERROR_SUCCESS; }
int32_t RegistryStore::RegConnectRegistryA(std::string_view, HKEY, HKEY&) { return ERROR_BAD_NETPATH; }

}  // namespace si32
