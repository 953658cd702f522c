#pragma once
// The registry's storage: keys and values held in memory, found without
// regard to letter case while keeping the spelling they were created with.
// Shared by the store, the REGEDIT4 reader and the exporter.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <set>
#include <span>
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

// A tree's keys and value lists come from the tree's own pool: a registry is
// hundreds of thousands of small blocks made together and dropped together,
// which a pool lays side by side without a header each and frees at once.
using Allocator = std::pmr::polymorphic_allocator<>;

// A value keeps its name and its data in one block: a registry holds many
// small values, and one allocation each halves what they cost.
class Value {
public:
    Value(std::string_view name, uint32_t type, std::string_view data);

    std::string_view name() const { return std::string_view(bytes_).substr(0, nameLength_); }
    std::string_view data() const { return std::string_view(bytes_).substr(nameLength_); }
    uint32_t type() const { return type_; }

private:
    std::string bytes_;
    uint32_t type_;
    uint32_t nameLength_;
};

// Orders names as their lower-case spellings would be (A-Z folded, other
// bytes as they are), without making those spellings.
struct FoldedLess {
    using is_transparent = void;
    static bool less(std::string_view a, std::string_view b);
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
        return less(nameOf(a), nameOf(b));
    }

private:
    static std::string_view nameOf(std::string_view name) { return name; }
    template <class Named>
    static std::string_view nameOf(const Named& named) {
        return named.name();
    }
};

// Keys are kept inside the nodes of their parent's ordered set, and the
// children and values only once a key has some, so that a leaf key costs
// little more than its name.
class Key {
public:
    using allocator_type = Allocator;
    Key(std::string_view name, const Allocator& allocator) : name_(name), values_(allocator) {}
    Key(const Key& other, const Allocator& allocator);
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    const std::string& name() const { return name_; }

    Key* child(std::string_view name) const;
    Key& childOrCreate(std::string_view name);
    bool removeChild(std::string_view name);

    const Value* value(std::string_view name) const;
    void setValue(std::string_view name, uint32_t type, std::string_view data);
    bool removeValue(std::string_view name);

    // Both ordered by folded name, the order an export lists them in.
    using Children = std::pmr::set<Key, FoldedLess>;
    const Children& children() const;
    const std::pmr::vector<Value>& values() const { return values_; }

private:
    std::string name_;
    // Changed through the const elements of the parent's set: the order
    // there depends on the name alone, which never changes.
    mutable std::unique_ptr<Children> children_;
    mutable std::pmr::vector<Value> values_;
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
// The same into names, which view path; false where the above gives nullopt.
bool splitPath(std::string_view path, std::vector<std::string_view>& names);

class Tree {
public:
    Tree();
    Tree(Tree&& other) noexcept;
    // Swaps, so that the keys given up go with the pool they came from.
    Tree& operator=(Tree&& other) noexcept;
    ~Tree();
    Tree clone() const;

    // nullptr for a handle that is not a predefined root.
    Key* root(HKEY handle) const;
    template <class Names>
    Key* find(HKEY handle, const Names& path) const {
        Key* key = root(handle);
        for (const auto& name : path) {
            if (!key) break;
            key = key->child(name);
        }
        return key;
    }
    // Creates the missing keys; nullptr when root is not a predefined root.
    template <class Names>
    Key* create(HKEY handle, const Names& path) {
        Key* key = root(handle);
        if (!key) return nullptr;
        for (const auto& name : path) key = &key->childOrCreate(name);
        return key;
    }
    // Removes the key and everything below it; roots themselves stay.
    template <class Names>
    void remove(HKEY handle, const Names& path) {
        if (path.empty()) return;
        if (Key* parent = find(handle, std::span(path.data(), path.size() - 1))) parent->removeChild(path.back());
    }

private:
    // Declared first, so that it outlives the keys. Unsynchronised: a tree
    // is changed by one thread at a time, as its containers already need.
    std::unique_ptr<std::pmr::unsynchronized_pool_resource> pool_;
    std::map<HKEY, std::unique_ptr<Key>> roots_;
};

}  // namespace si32::regtree
