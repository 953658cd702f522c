// Writes a subtree as REGEDIT4 text that the reader loads back identically:
// every value whose bytes a quoted text cannot carry (no final NUL, an inner
// NUL, a line feed) is written as hex(1): instead.
#include <cstdio>
#include <string>

#include "platform/engine/regedit4.h"

namespace si32::regtree {
namespace {

// Long hex lists wrap as regedit wraps them: a trailing backslash, then two
// blanks on the next line.
constexpr std::size_t kWrapColumn = 76;

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

bool isPlainString(const Value& v) {
    const std::string_view data = v.data();
    if (v.type() != REG_SZ || data.empty() || data.back() != '\0') return false;
    const std::string_view text = data.substr(0, data.size() - 1);
    return text.find('\0') == std::string_view::npos && text.find('\n') == std::string_view::npos;
}

void appendHexList(std::string& out, std::string_view bytes, std::size_t lineStart) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
        if (i + 1 == bytes.size()) break;
        out.push_back(',');
        if (out.size() - lineStart >= kWrapColumn) {
            out += "\\\r\n  ";
            lineStart = out.size() - 2;
        }
    }
}

void appendValue(std::string& out, const Value& v) {
    std::size_t lineStart = out.size();
    const std::string_view data = v.data();
    if (v.name().empty()) out.push_back('@');
    else appendQuoted(out, v.name());
    out.push_back('=');
    if (isPlainString(v)) {
        appendQuoted(out, data.substr(0, data.size() - 1));
    } else if (v.type() == REG_DWORD && data.size() == 4) {
        uint32_t n = 0;
        for (int i = 3; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(data[i]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", n);
        out += text;
    } else {
        if (v.type() == REG_BINARY) {
            out += "hex:";
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "hex(%x):", v.type());
            out += text;
        }
        appendHexList(out, data, lineStart);
    }
    out += "\r\n";
}

void appendKey(std::string& out, const Key& key, const std::string& path) {
    out += "[" + path + "]\r\n";
    for (const Value& value : key.values()) appendValue(out, value);
    out += "\r\n";
    for (const Key& child : key.children()) appendKey(out, child, path + "\\" + child.name());
}

}  // namespace

std::string WriteRegedit4(const Key& key, std::string_view fullPath) {
    std::string out = "REGEDIT4\r\n\r\n";
    appendKey(out, key, std::string(fullPath));
    return out;
}

}  // namespace si32::regtree
