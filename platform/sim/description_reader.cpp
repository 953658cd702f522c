#include "platform/sim/description_reader.h"

#include <limits>

#include "platform/code_page.h"
#include "platform/platform.h"
#include "platform/text_helpers.h"

namespace si32::sim {

std::string capQuoted(std::string_view text) {
    constexpr std::size_t kQuotedLimit = 80;
    if (text.size() <= kQuotedLimit) return std::string(text);
    return std::string(utf8Prefix(text, kQuotedLimit - 3)) + "...";
}

void DescriptionReader::fail(std::string_view path, std::string_view expected) const {
    std::string message = source_;
    message += ": ";
    if (!path.empty()) {
        message += capQuoted(path);
        message += ": ";
    }
    message += expected;
    // One line, whatever the member names hold.
    for (char& c : message)
        if (c == '\n' || c == '\r') c = ' ';
    throw MachineDescriptionError(message);
}

void DescriptionReader::expectObject(const nlohmann::json& node, std::string_view path,
                                     std::initializer_list<std::string_view> allowed) const {
    expectAnyObject(node, path);
    for (const auto& [name, value] : node.items()) {
        bool known = false;
        for (std::string_view candidate : allowed) known = known || candidate == name;
        if (!known) fail(memberPath(path, name), "unknown member");
    }
}

void DescriptionReader::expectAnyObject(const nlohmann::json& node, std::string_view path) const {
    if (!node.is_object()) fail(path, "expected an object");
}

void DescriptionReader::expectArray(const nlohmann::json& node, std::string_view path) const {
    if (!node.is_array()) fail(path, "expected an array");
}

std::string DescriptionReader::ansi(std::string_view utf8, std::string_view path) const {
    if (escapedBytes_) {
        std::optional<std::string> bytes = UnescapeAnsi(utf8, codePage_);
        if (!bytes) fail(path, "expected %25 for a percent sign, or %HH for a byte (escaped_bytes)");
        return std::move(*bytes);
    }
    return codePage_ == CP_UTF8 ? std::string(utf8) : EncodeAnsi(utf8, codePage_);
}

std::string DescriptionReader::text(const nlohmann::json& node, std::string_view path) const {
    if (!node.is_string()) fail(path, "expected a string");
    return ansi(node.get_ref<const std::string&>(), path);
}

bool DescriptionReader::flag(const nlohmann::json& node, std::string_view path) const {
    if (!node.is_boolean()) fail(path, "expected true or false");
    return node.get<bool>();
}

int64_t DescriptionReader::integer(const nlohmann::json& node, std::string_view path, int64_t min, int64_t max,
                                   std::string_view expected) const {
    if (node.is_number_unsigned()) {
        uint64_t value = node.get<uint64_t>();
        if (value > static_cast<uint64_t>(max)) fail(path, expected);
        return static_cast<int64_t>(value);
    }
    if (!node.is_number_integer()) fail(path, expected);
    int64_t value = node.get<int64_t>();
    if (value < min || value > max) fail(path, expected);
    return value;
}

uint32_t DescriptionReader::u32(const nlohmann::json& node, std::string_view path) const {
    return static_cast<uint32_t>(
        integer(node, path, 0, std::numeric_limits<uint32_t>::max(), "expected an unsigned 32-bit integer"));
}

int32_t DescriptionReader::i32(const nlohmann::json& node, std::string_view path) const {
    return static_cast<int32_t>(integer(node, path, std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<int32_t>::max(), "expected a signed 32-bit integer"));
}

uint64_t DescriptionReader::u64(const nlohmann::json& node, std::string_view path) const {
    if (node.is_number_unsigned()) return node.get<uint64_t>();
    if (node.is_number_integer() && node.get<int64_t>() >= 0) return static_cast<uint64_t>(node.get<int64_t>());
    fail(path, "expected an unsigned 64-bit integer");
}

uint32_t DescriptionReader::bits32(const nlohmann::json& node, std::string_view path) const {
    return static_cast<uint32_t>(integer(node, path, std::numeric_limits<int32_t>::min(),
                                         std::numeric_limits<uint32_t>::max(), "expected a 32-bit integer"));
}

const nlohmann::json* DescriptionReader::find(const nlohmann::json& object, std::string_view name) {
    auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

std::string memberPath(std::string_view parent, std::string_view name) {
    if (parent.empty()) return std::string(name);
    std::string path(parent);
    path += '.';
    path += name;
    return path;
}

std::string elementPath(std::string_view parent, size_t index) {
    return std::string(parent) + "[" + std::to_string(index) + "]";
}

}  // namespace si32::sim
