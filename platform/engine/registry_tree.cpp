#include "platform/engine/registry_tree.h"

namespace si32::regtree {

Key* Key::child(std::string_view name) const {
    auto it = children_.find(lowerAscii(name));
    return it == children_.end() ? nullptr : it->second.get();
}

Key& Key::childOrCreate(std::string_view name) {
    auto& slot = children_[lowerAscii(name)];
    if (!slot) slot = std::make_unique<Key>(std::string(name));
    return *slot;
}

bool Key::removeChild(std::string_view name) { return children_.erase(lowerAscii(name)) > 0; }

const Value* Key::value(std::string_view name) const {
    auto it = values_.find(lowerAscii(name));
    return it == values_.end() ? nullptr : &it->second;
}

void Key::setValue(std::string_view name, uint32_t type, std::string data) {
    auto [it, inserted] = values_.try_emplace(lowerAscii(name));
    // A value written again keeps the spelling of its name, as Windows does.
    if (inserted) it->second.name = std::string(name);
    it->second.type = type;
    it->second.data = std::move(data);
}

bool Key::removeValue(std::string_view name) { return values_.erase(lowerAscii(name)) > 0; }

std::unique_ptr<Key> Key::clone() const {
    auto copy = std::make_unique<Key>(name_);
    copy->values_ = values_;
    for (const auto& [folded, child] : children_) copy->children_.emplace(folded, child->clone());
    return copy;
}

std::optional<HKEY> rootByName(std::string_view name) {
    for (const auto& root : kRootNames)
        if (equalsNoCase(name, root.name) || equalsNoCase(name, root.shortName)) return root.handle;
    return std::nullopt;
}

std::string_view rootName(HKEY root) {
    for (const auto& r : kRootNames)
        if (r.handle == root) return r.name;
    return {};
}

std::optional<std::vector<std::string>> splitPath(std::string_view path) {
    std::vector<std::string> names;
    if (path.empty()) return names;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view name = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
        if (name.empty() || name.size() > kMaxKeyNameLength) return std::nullopt;
        names.emplace_back(name);
        if (names.size() > kMaxKeyDepth) return std::nullopt;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return names;
}

Tree::Tree() {
    for (const auto& r : kRootNames) roots_.emplace(r.handle, std::make_unique<Key>(std::string(r.name)));
}

Tree Tree::clone() const {
    Tree copy;
    for (const auto& [handle, key] : roots_) copy.roots_[handle] = key->clone();
    return copy;
}

Key* Tree::root(HKEY handle) const {
    auto it = roots_.find(handle);
    return it == roots_.end() ? nullptr : it->second.get();
}

Key* Tree::find(HKEY rootHandle, const std::vector<std::string>& path) const {
    Key* key = root(rootHandle);
    for (const auto& name : path) {
        if (!key) break;
        key = key->child(name);
    }
    return key;
}

Key* Tree::create(HKEY rootHandle, const std::vector<std::string>& path) {
    Key* key = root(rootHandle);
    if (!key) return nullptr;
    for (const auto& name : path) key = &key->childOrCreate(name);
    return key;
}

void Tree::remove(HKEY rootHandle, const std::vector<std::string>& path) {
    if (path.empty()) return;
    std::vector<std::string> parentPath(path.begin(), path.end() - 1);
    if (Key* parent = find(rootHandle, parentPath)) parent->removeChild(path.back());
}

}  // namespace si32::regtree
