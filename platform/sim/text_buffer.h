#pragma once
// Copying texts into caller buffers the way the Windows calls do: never past
// the end, and nothing at all when the text and its NUL do not fit.
#include <algorithm>
#include <span>
#include <string_view>

namespace si32::sim {

// True when text and a NUL fit and were stored; the buffer is untouched
// otherwise.
inline bool copyWithNul(std::string_view text, std::span<char> buffer) {
    if (text.size() + 1 > buffer.size()) return false;
    std::copy(text.begin(), text.end(), buffer.begin());
    buffer[text.size()] = '\0';
    return true;
}

}  // namespace si32::sim
