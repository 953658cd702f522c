#pragma once
// The registry both backends answer from: an in-memory tree of keys and
// values, loaded from REGEDIT4 text and from live facts, answering the four
// registry calls with the real calls' status codes and byte counts.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace si32 {

// REGEDIT4 text that cannot be loaded; the message names the source and line.
class RegistryParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RegistryStore {
public:
    RegistryStore();
    ~RegistryStore();
    RegistryStore(RegistryStore&&) noexcept;
    RegistryStore& operator=(RegistryStore&&) noexcept;

    // Applies REGEDIT4 text over what is there; all or nothing. sourceName
    // names the text in errors ("machines/win98.json: registry").
    void LoadRegedit4(std::string_view text, std::string_view sourceName);

    // root: a predefined root (HKEY_LOCAL_MACHINE, ...); path without root.
    // Missing keys are created. Throws std::invalid_argument for a root that
    // is not predefined or a path Windows could not hold (an empty name, a
    // name over 255 characters, more than 512 levels).
    void SetValue(HKEY root, std::string_view path, std::string_view name, uint32_t type, std::string data);
    void SetString(HKEY root, std::string_view path, std::string_view name, std::string_view text);
    void SetDword(HKEY root, std::string_view path, std::string_view name, uint32_t value);
    // A key ("HKEY_LOCAL_MACHINE\\SOFTWARE\\...") that opens only for read
    // access (KEY_READ); any wider mask is refused with 5. Its subkeys
    // inherit the restriction, as registry permissions do by default.
    void AddReadOnlyKey(std::string_view fullPath);
    void SetConnectFails(bool fails);
    // The key and everything below it as REGEDIT4 text that LoadRegedit4
    // reads back identically; only the header for a missing key.
    std::string ExportRegedit4(HKEY root, std::string_view path) const;

    // The calls answer as their Windows namesakes (platform/registry.h). A
    // query with an empty span (no buffer) answers the size only.
    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired, HKEY& result);
    int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                             uint32_t& dataSize);
    int32_t RegCloseKey(HKEY key);
    int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result);

private:
    struct Impl;
    Impl* impl_;
};

}  // namespace si32
