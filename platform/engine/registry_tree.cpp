#include "platform/engine/registry_tree.h"

#include <algorithm>

namespace si32::regtree {

Value::Value(std::string_view name, uint32_t type, std::string_view data)
    : type_(type), nameLength_(static_cast<uint32_t>(name.size())) {
    bytes_.reserve(name.size() + data.size());
    bytes_.append(name).append(data);
}

bool FoldedLess::less(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    // Only where the bytes differ does the case matter. Names are short: a
    // plain loop beats a library search that must be set up for each.
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        const auto x = static_cast<unsigned char>(lowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

Key::Key(const Key& other, const Allocator& allocator)
    : name_(other.name_),
      children_(other.children_ ? std::make_unique<Children>(*other.children_, allocator) : nullptr),
      values_(other.values_, allocator) {}

const Key::Children& Key::children() const {
    static const Children kNone;
    return children_ ? *children_ : kNone;
}

Key* Key::child(std::string_view name) const {
    if (!children_) return nullptr;
    auto it = children_->find(name);
    return it == children_->end() ? nullptr : const_cast<Key*>(&*it);
}

Key& Key::childOrCreate(std::string_view name) {
    if (!children_) children_ = std::make_unique<Children>(values_.get_allocator());
    // Files list a key's subkeys in order, so a new key mostly comes after
    // all its siblings: one comparison with the last places it, where a
    // search would walk the whole depth of a large tree.
    if (children_->empty() || FoldedLess::less(children_->rbegin()->name(), name))
        return const_cast<Key&>(*children_->emplace_hint(children_->end(), name));
    auto it = children_->lower_bound(name);
    if (it == children_->end() || FoldedLess::less(name, it->name())) it = children_->emplace_hint(it, name);
    return const_cast<Key&>(*it);
}

bool Key::removeChild(std::string_view name) {
    if (!children_) return false;
    auto it = children_->find(name);
    if (it == children_->end()) return false;
    children_->erase(it);
    return true;
}

const Value* Key::value(std::string_view name) const {
    auto it = std::lower_bound(values_.begin(), values_.end(), name, FoldedLess{});
    return it == values_.end() || FoldedLess::less(name, it->name()) ? nullptr : &*it;
}

void Key::setValue(std::string_view name, uint32_t type, std::string_view data) {
    // Most keys that hold a value hold more than one: room for two from the
    // start spares moving the first when the second comes.
    if (values_.empty()) values_.reserve(2);
    auto it = std::lower_bound(values_.begin(), values_.end(), name, FoldedLess{});
    if (it == values_.end() || FoldedLess::less(name, it->name())) {
        values_.emplace(it, name, type, data);
        return;
    }
    // A value written again keeps the spelling of its name, as Windows does.
    *it = Value(it->name(), type, data);
}

bool Key::removeValue(std::string_view name) {
    auto it = std::lower_bound(values_.begin(), values_.end(), name, FoldedLess{});
    if (it == values_.end() || FoldedLess::less(name, it->name())) return false;
    values_.erase(it);
    return true;
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

bool splitPath(std::string_view path, std::vector<std::string_view>& names) {
    names.clear();
    if (path.empty()) return true;
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view name = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
        if (name.empty() || name.size() > kMaxKeyNameLength) return false;
        names.push_back(name);
        if (names.size() > kMaxKeyDepth) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

std::optional<std::vector<std::string>> splitPath(std::string_view path) {
    std::vector<std::string_view> views;
    if (!splitPath(path, views)) return std::nullopt;
    return std::vector<std::string>(views.begin(), views.end());
}

// The pool's chunks grow no larger than 512 blocks: left to grow, the last
// chunk of each block size stood mostly empty, a tenth of a large registry.
Tree::Tree()
    : pool_(std::make_unique<std::pmr::unsynchronized_pool_resource>(
          std::pmr::pool_options{.max_blocks_per_chunk = 512, .largest_required_pool_block = 0})) {
    for (const auto& r : kRootNames) roots_.emplace(r.handle, std::make_unique<Key>(r.name, pool_.get()));
}

Tree::Tree(Tree&& other) noexcept : pool_(std::move(other.pool_)), roots_(std::move(other.roots_)) {}

Tree& Tree::operator=(Tree&& other) noexcept {
    std::swap(pool_, other.pool_);
    std::swap(roots_, other.roots_);
    return *this;
}

Tree::~Tree() = default;

Tree Tree::clone() const {
    Tree copy;
    for (const auto& [handle, key] : roots_) copy.roots_[handle] = std::make_unique<Key>(*key, copy.pool_.get());
    return copy;
}

Key* Tree::root(HKEY handle) const {
    auto it = roots_.find(handle);
    return it == roots_.end() ? nullptr : it->second.get();
}

}  // namespace si32::regtree
