#pragma once
// The registry's storage: keys and values held in memory, found without
// regard to letter case while keeping the spelling they were created with.
// Shared by the store, the REGEDIT4 reader and the exporter.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/text_helpers.h"

namespace si32::regtree {

// Windows' own limits; they also keep recursion over the tree shallow.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
inline constexpr std::size_t kMaxKeyDepth = 512;

inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

struct Value {
    std::string name;
    uint32_t type = REG_NONE;
    std::string data;
};

class Key {
public:
    explicit Key(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    Key* child(std::string_view name) const;
    Key& childOrCreate(std::string_view name);
    bool removeChild(std::string_view name);

    const Value* value(std::string_view name) const;
    void setValue(std::string_view name, uint32_t type, std::string data);
    bool removeValue(std::string_view name);

    // Both ordered by folded name, the order an export lists them in.
    const std::map<std::string, std::unique_ptr<Key>>& children() const { return children_; }
    const std::map<std::string, Value>& values() const { return values_; }

    std::unique_ptr<Key> clone() const;

private:
    std::string name_;
    std::map<std::string, std::unique_ptr<Key>> children_;
    std::map<std::string, Value> values_;
};

// The predefined roots, by handle and by the names a .reg file uses.
struct RootName {
    std::string_view name;
    std::string_view shortName;
    HKEY handle;
};
inline constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},     {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},   {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG}, {"HKEY_DYN_DATA", "HKDD", HKEY_DYN_DATA},
};
std::optional<HKEY> rootByName(std::string_view name);
std::string_view rootName(HKEY root);

// Splits "A\B\C" into its names; nullopt when a name is empty or too long,
// or the path is too deep. An empty path is the key itself.
std::optional<std::vector<std::string>> splitPath(std::string_view path);

class Tree {
public:
    Tree();
    Tree clone() const;

    // nullptr for a handle that is not a predefined root.
    Key* root(HKEY handle) const;
    Key* find(HKEY root, const std::vector<std::string>& path) const;
    // Creates the missing keys; nullptr when root is not a predefined root.
    Key* create(HKEY root, const std::vector<std::string>& path);
    // Removes the key and everything below it; roots themselves stay.
    void remove(HKEY root, const std::vector<std::string>& path);

private:
    std::map<HKEY, std::unique_ptr<Key>> roots_;
};

}  // namespace si32::regtree
