#pragma once
// Fitting UTF-8 text (the host's single-byte code page) into a fixed number
// of bytes without splitting a character, so what is stored stays valid text.
#include <cstddef>
#include <string_view>

namespace si32 {

// The longest prefix of text that has at most maxBytes bytes and ends on a
// character boundary.
inline std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Continuation bytes are 10xxxxxx; back off to the start of the character
    // the cut would split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace si32
