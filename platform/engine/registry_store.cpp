// The four registry calls over the in-memory tree. An open key is a handle
// naming a path, not a pointer into the tree, so that a reload (which swaps
// in a new tree) never leaves a handle dangling: a handle whose key has gone
// answers as Windows answers for a deleted key.
#include "platform/engine/registry_store.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/engine/regedit4.h"
#include "platform/engine/registry_tree.h"
#include "platform/text_helpers.h"

namespace si32 {
namespace {

constexpr int32_t ERROR_BAD_PATHNAME = 161;
constexpr int32_t ERROR_KEY_DELETED = 1018;
constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
// These ask for a registry view, not for a right.
constexpr uint32_t KEY_WOW64_FLAGS = 0x0300;
constexpr uint32_t KEY_ALL_ACCESS = 0x000F003F;

struct OpenKey {
    HKEY root = 0;
    std::vector<std::string> path;
    uint32_t access = 0;
};

std::string canonical(HKEY root, const std::vector<std::string>& path) {
    std::string text = lowerAscii(regtree::rootName(root));
    for (const auto& name : path) text += "\\" + lowerAscii(name);
    return text;
}

}  // namespace

struct RegistryStore::Impl {
    regtree::Tree tree;
    std::unordered_map<HKEY, OpenKey> handles;
    // Canonical full paths of the keys (with their subtrees) that open only
    // for reading.
    std::vector<std::string> readOnly;
    bool connectFails = false;
    std::string computerName;
    // Windows hands out small multiples of four; never reused, so a closed
    // handle stays invalid.
    HKEY nextHandle = 0x100;

    // The key a handle stands for: a predefined root or an open key.
    const OpenKey* lookup(HKEY handle, OpenKey& scratch) const {
        if (tree.root(handle)) {
            scratch = OpenKey{handle, {}, KEY_ALL_ACCESS};
            return &scratch;
        }
        auto it = handles.find(handle);
        return it == handles.end() ? nullptr : &it->second;
    }

    bool isReadOnly(const std::string& path) const {
        return std::any_of(readOnly.begin(), readOnly.end(), [&](const std::string& ro) {
            return path == ro || (path.size() > ro.size() && path.starts_with(ro) && path[ro.size()] == '\\');
        });
    }

    HKEY issue(OpenKey key) {
        HKEY handle = nextHandle;
        nextHandle += 4;
        handles.emplace(handle, std::move(key));
        return handle;
    }

    std::vector<std::string> pathOrThrow(std::string_view path) const {
        auto names = regtree::splitPath(path);
        if (!names) throw std::invalid_argument("bad registry path: " + std::string(path));
        return *names;
    }

    regtree::Key& createOrThrow(HKEY root, std::string_view path) {
        regtree::Key* key = tree.create(root, pathOrThrow(path));
        if (!key) throw std::invalid_argument("not a predefined registry root");
        return *key;
    }
};

RegistryStore::RegistryStore() : impl_(new Impl) {}
RegistryStore::~RegistryStore() { delete impl_; }
RegistryStore::RegistryStore(RegistryStore&& other) noexcept : impl_(other.impl_) { other.impl_ = nullptr; }
RegistryStore& RegistryStore::operator=(RegistryStore&& other) noexcept {
    std::swap(impl_, other.impl_);
    return *this;
}

void RegistryStore::LoadRegedit4(std::string_view text, std::string_view sourceName, uint32_t codePage) {
    regtree::Tree copy = impl_->tree.clone();
    regtree::ApplyRegedit4(text, sourceName, copy, {.codePage = codePage});
    impl_->tree = std::move(copy);
}

std::vector<SkippedLine> RegistryStore::ImportRegistryFile(std::string_view text, std::string_view sourceName,
                                                           uint32_t codePage) {
    std::vector<SkippedLine> skipped;
    regtree::ApplyRegedit4(text, sourceName, impl_->tree, {.codePage = codePage, .skipped = &skipped});
    return skipped;
}

void RegistryStore::SetValue(HKEY root, std::string_view path, std::string_view name, uint32_t type, std::string data) {
    if (name.size() > regtree::kMaxValueNameLength) throw std::invalid_argument("value name too long");
    impl_->createOrThrow(root, path).setValue(name, type, data);
}

void RegistryStore::SetString(HKEY root, std::string_view path, std::string_view name, std::string_view text) {
    std::string data(text);
    data.push_back('\0');
    SetValue(root, path, name, REG_SZ, std::move(data));
}

void RegistryStore::SetDword(HKEY root, std::string_view path, std::string_view name, uint32_t value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[i] = static_cast<char>(value >> (8 * i) & 0xFF);
    SetValue(root, path, name, REG_DWORD, std::move(data));
}

void RegistryStore::AddReadOnlyKey(std::string_view fullPath) {
    std::size_t slash = fullPath.find('\\');
    auto root = regtree::rootByName(fullPath.substr(0, slash));
    if (!root) throw std::invalid_argument("unknown registry root in " + std::string(fullPath));
    std::vector<std::string> path;
    if (slash != std::string_view::npos) path = impl_->pathOrThrow(fullPath.substr(slash + 1));
    impl_->readOnly.push_back(canonical(*root, path));
}

void RegistryStore::SetConnectFails(bool fails) { impl_->connectFails = fails; }

void RegistryStore::SetComputerName(std::string_view name) { impl_->computerName = name; }

std::string RegistryStore::ExportRegedit4(HKEY root, std::string_view path) const {
    auto names = regtree::splitPath(path);
    const regtree::Key* key = names ? impl_->tree.find(root, *names) : nullptr;
    if (!key) return "REGEDIT4\r\n\r\n";
    // The section names use the keys' own spelling, not the caller's.
    std::string fullPath(regtree::rootName(root));
    const regtree::Key* walk = impl_->tree.root(root);
    for (const auto& name : *names) {
        walk = walk->child(name);
        fullPath += "\\" + walk->name();
    }
    return regtree::WriteRegedit4(*key, fullPath);
}

int32_t RegistryStore::RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t, uint32_t samDesired, HKEY& result) {
    OpenKey scratch;
    const OpenKey* parent = impl_->lookup(key, scratch);
    if (!parent) return ERROR_INVALID_HANDLE;
    if (!subKey.empty() && subKey.front() == '\\') return ERROR_BAD_PATHNAME;
    // Doubled and trailing backslashes separate nothing, as the real call
    // reads them.
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= subKey.size();) {
        std::size_t end = std::min(subKey.find('\\', start), subKey.size());
        if (end > start) names.emplace_back(subKey.substr(start, end - start));
        start = end + 1;
    }

    OpenKey opened{parent->root, parent->path, samDesired & ~KEY_WOW64_FLAGS};
    opened.path.insert(opened.path.end(), names.begin(), names.end());
    if (!impl_->tree.find(opened.root, opened.path)) return ERROR_FILE_NOT_FOUND;
    if ((opened.access & ~KEY_READ) != 0 && impl_->isReadOnly(canonical(opened.root, opened.path)))
        return ERROR_ACCESS_DENIED;
    result = impl_->issue(std::move(opened));
    return ERROR_SUCCESS;
}

int32_t RegistryStore::RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                                        uint32_t& dataSize) {
    OpenKey scratch;
    const OpenKey* open = impl_->lookup(key, scratch);
    if (!open) return ERROR_INVALID_HANDLE;
    if ((open->access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const regtree::Key* node = impl_->tree.find(open->root, open->path);
    if (!node) return ERROR_KEY_DELETED;
    const regtree::Value* value = node->value(valueName);
    if (!value) {
        type = REG_NONE;
        return ERROR_FILE_NOT_FOUND;
    }

    type = value->type();
    const std::string_view bytes = value->data();
    const auto needed = static_cast<uint32_t>(bytes.size());
    // No buffer at all asks only for the size.
    if (data.data() == nullptr) {
        dataSize = needed;
        return ERROR_SUCCESS;
    }
    // The caller's count never lets us write past the span it gave.
    const uint32_t capacity = static_cast<uint32_t>(std::min<std::size_t>(dataSize, data.size()));
    dataSize = needed;
    if (needed > capacity) return ERROR_MORE_DATA;
    std::copy(bytes.begin(), bytes.end(), data.begin());
    return ERROR_SUCCESS;
}

int32_t RegistryStore::RegCloseKey(HKEY key) {
    if (impl_->tree.root(key)) return ERROR_SUCCESS;
    return impl_->handles.erase(key) > 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

int32_t RegistryStore::RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) {
    if (key != HKEY_LOCAL_MACHINE && key != HKEY_USERS) return ERROR_INVALID_HANDLE;
    if (impl_->connectFails) return ERROR_BAD_NETPATH;
    // The only machine there is is this one: named, with or without the
    // leading backslashes of a UNC name, or not named at all.
    if (machineName.starts_with("\\\\")) machineName.remove_prefix(2);
    if (!machineName.empty() && (impl_->computerName.empty() || !equalsNoCase(machineName, impl_->computerName)))
        return ERROR_BAD_NETPATH;
    result = impl_->issue(OpenKey{key, {}, KEY_ALL_ACCESS});
    return ERROR_SUCCESS;
}

}  // namespace si32
