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
    // Continuation bytes are 10xxxxxx; back off to the lead byte of the
    // character the cut would split. Stray continuation bytes with no lead
    // before them are single undecodable bytes, cut where they stand.
    auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
    std::size_t end = maxBytes;
    while (end > 0 && continuation(end) && maxBytes - end < 3) --end;
    if (end < maxBytes && static_cast<unsigned char>(text[end]) < 0xC0) return text.substr(0, maxBytes);
    return text.substr(0, end);
}

}  // namespace si32
