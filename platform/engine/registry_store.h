#pragma once
// The registry both backends answer from: an in-memory tree of keys and
// values, loaded from REGEDIT4 text and from live facts, answering the four
// registry calls with the real calls' status codes and byte counts.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace si32 {

// REGEDIT4 text that cannot be loaded; the message names the source and line.
class RegistryParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A line of a registry file that was left out: its number (from 1) and the
// message naming the file, the line and the fault.
struct SkippedLine {
    std::size_t line = 0;
    std::string message;
};

class RegistryStore {
public:
    RegistryStore();
    ~RegistryStore();
    RegistryStore(RegistryStore&&) noexcept;
    RegistryStore& operator=(RegistryStore&&) noexcept;

    // Applies REGEDIT4 text over what is there; all or nothing. sourceName
    // names the text in errors ("machines/win98.json: registry").
    // codePage: the one texts are kept in; a UTF-16LE file (the version 5.00
    // export) is converted to it.
    void LoadRegedit4(std::string_view text, std::string_view sourceName, uint32_t codePage = 65001);
    // The same text read as regedit imports it: lines that cannot be read
    // are left out and returned, the rest applied.
    std::vector<SkippedLine> ImportRegistryFile(std::string_view text, std::string_view sourceName,
                                                uint32_t codePage = 65001);

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
    // The name RegConnectRegistryA connects to besides the empty name; any
    // other machine is not there.
    void SetComputerName(std::string_view name);
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
