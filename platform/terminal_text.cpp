#include "platform/terminal_text.h"

#include <algorithm>
#include <cstdio>

namespace si32 {
namespace {

// The length of the valid UTF-8 sequence at the start of text (overlong
// forms, surrogates and code points past U+10FFFF are not valid), or 0.
std::size_t validSequence(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else return 0;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    return length;
}

void appendByteEscape(std::string& out, unsigned char b) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
}

char namedEscape(unsigned char c) {
    switch (c) {
        case '\a': return 'a';
        case '\b': return 'b';
        case '\t': return 't';
        case '\n': return 'n';
        case '\v': return 'v';
        case '\f': return 'f';
        case '\r': return 'r';
        case 0x1B: return 'e';
        default: return 0;
    }
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto first = static_cast<unsigned char>(text.front());
        const std::size_t length = validSequence(text);
        const bool c1 = length == 2 && first == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
        if (length == 1 && first >= 0x20 && first != 0x7F) {
            out += text.front();
        } else if (length == 1 && namedEscape(first) != 0) {
            out += '\\';
            out += namedEscape(first);
        } else if (length == 0 || length == 1 || c1) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i)
                appendByteEscape(out, static_cast<unsigned char>(text[i]));
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return out;
}

void PrintErrorLine(std::string_view line) {
    const std::string shown = TerminalText(line) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stderr);
    std::fflush(stderr);
}

}  // namespace si32
