#pragma once
// Small rules every layer needs, written once: NUL-terminated answers, ASCII
// case (Windows names compare without it), trimming, numbers that may be
// hexadecimal, drive root paths, host paths, UTF-8 cuts and 32-bit counts.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace si32 {

// The text up to, not including, its first NUL (all of it when it has none).
inline std::string_view upToNul(std::string_view text) { return text.substr(0, text.find('\0')); }
// The same for a text handed over in memory as bytes.
inline std::string_view upToNul(std::span<const std::byte> bytes) {
    return upToNul(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// ASCII only: the bytes of other characters stay as they are, whatever the
// locale says.
constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
inline std::string lowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return lowerAscii(c); });
    return out;
}
inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}
inline bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}
// Orders as the bytes do after folding, each byte taken as unsigned, so
// that names beyond ASCII sort after it whatever the sign of char.
inline bool lessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(upperAscii(x)) < static_cast<unsigned char>(upperAscii(y));
    });
}

// Without the leading and trailing characters that are in `blanks`.
inline std::string_view trimmed(std::string_view text, std::string_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
// Spaces only, as the program's own trims do.
inline std::string_view trimSpaces(std::string_view text) { return trimmed(text, " "); }

// A whole number in decimal, or in hexadecimal after "0x" or "0X"; nothing
// else around it.
template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    Number value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The drive letter (upper case) of a root path "X:\", "X:/" or "X:"; '\0'
// for anything else.
inline char rootPathLetter(std::string_view rootPath) {
    if (rootPath.size() < 2 || rootPath.size() > 3 || rootPath[1] != ':') return '\0';
    if (rootPath.size() == 3 && rootPath[2] != '\\' && rootPath[2] != '/') return '\0';
    const char letter = upperAscii(rootPath[0]);
    return letter >= 'A' && letter <= 'Z' ? letter : '\0';
}

// A host path is the folder itself or lies below it, compared as text;
// "/a/bc" is not below "/a/b", and every absolute path is below "/".
inline bool pathWithin(std::string_view path, std::string_view folder) {
    if (folder == "/") return path.starts_with('/');
    return path == folder || (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

// The longest prefix of UTF-8 text (the host's single-byte code page) that
// has at most maxBytes bytes and ends on a character boundary, so what is
// stored stays valid text.
inline std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    // Continuation bytes are 10xxxxxx; back off to the lead byte of the
    // character the cut would split. Stray continuation bytes with no lead
    // before them are single undecodable bytes, cut where they stand.
    auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    std::size_t end = maxBytes;
    while (end > 0 && continuation(end) && maxBytes - end < 3) --end;
    if (end < maxBytes && static_cast<unsigned char>(text[end]) < 0xC0) return text.substr(0, maxBytes);
    return text.substr(0, end);
}

// A count the 32-bit field of a record cannot hold reads as its largest
// value, as the real calls report it.
constexpr uint32_t saturate32(uint64_t value) { return static_cast<uint32_t>(std::min<uint64_t>(value, UINT32_MAX)); }

}  // namespace si32
