#include "facts/texts.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/text_helpers.h"

namespace si32 {
namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the sequence a lead byte announces; 0 for a byte that cannot
// start one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Lower-case code points and how to reach their capitals: a range either
// shifts every member by delta, or holds small/capital pairs in which the
// capital is one below its small letter.
struct CaseRange {
    char32_t first, last;
    int32_t delta;    // shifted ranges
    bool pairs;       // alternating capital/small pairs
    bool lowerIsOdd;  // in pairs: which member is the small letter
};

constexpr std::array<CaseRange, 12> kCaseRanges = {{
    {U'a', U'z', -32, false, false},
    {0x00E0, 0x00F6, -32, false, false},
    {0x00F8, 0x00FE, -32, false, false},
    {0x00FF, 0x00FF, 0x0178 - 0x00FF, false, false},
    {0x0100, 0x0137, 0, true, true},
    {0x0139, 0x0148, 0, true, false},
    {0x014A, 0x0177, 0, true, true},
    {0x0179, 0x017E, 0, true, false},
    {0x03B1, 0x03C1, -32, false, false},  // Greek; final sigma 03C2 has no capital
    {0x03C3, 0x03C9, -32, false, false},
    {0x0430, 0x044F, -32, false, false},  // Cyrillic
    {0x0450, 0x045F, -80, false, false},
}};

char32_t upper(char32_t c) {
    for (const auto& r : kCaseRanges) {
        if (c < r.first || c > r.last) continue;
        if (!r.pairs) return static_cast<char32_t>(static_cast<int32_t>(c) + r.delta);
        const bool odd = (c & 1u) != 0;
        return odd == r.lowerIsOdd ? c - 1 : c;
    }
    return c;
}

// Every capital above lies below U+0800: one or two bytes.
void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string TrimSpaces(std::string_view text) { return std::string(trimSpaces(text)); }

std::string LeftCharacters(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(static_cast<unsigned char>(text[i])) && i > 0) continue;
        if (seen == count) return std::string(text.substr(0, i));
        ++seen;
    }
    return std::string(text);
}

std::string UpperCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(lead);
        // Only one- and two-byte letters change case here; longer sequences
        // and stray bytes pass through as they are.
        if (length == 1) {
            encode(upper(lead), out);
            ++i;
        } else if (length == 2 && i + 1 < text.size() && isContinuation(static_cast<unsigned char>(text[i + 1]))) {
            const char32_t c = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            encode(upper(c), out);
            i += 2;
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

}  // namespace si32
