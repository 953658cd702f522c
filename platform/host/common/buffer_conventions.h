#pragma once
// How the real calls hand a text back into a caller's buffer. They differ:
// the directory calls answer the size needed (with the NUL) and store nothing
// when the text does not fit; the name calls report through an in/out size.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "platform/utf8_cut.h"

namespace si32 {

// GetWindowsDirectoryA, GetSystemDirectoryA, GetTempPathA.
inline uint32_t storeDirectoryAnswer(std::string_view text, std::span<char> buffer) {
    if (text.size() + 1 > buffer.size()) return static_cast<uint32_t>(text.size() + 1);
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<uint32_t>(text.size());
}

// GetComputerNameA (countsNul false) and GetUserNameA (countsNul true): the
// size comes back as the length stored, or as the length needed with the NUL
// when the buffer is too small; the buffer is then left alone.
inline int32_t storeNameAnswer(std::string_view text, std::span<char> buffer, uint32_t& size, bool countsNul) {
    const uint64_t room = std::min<uint64_t>(size, buffer.size());
    if (text.size() + 1 > room) {
        size = static_cast<uint32_t>(text.size() + 1);
        return 0;
    }
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
    size = static_cast<uint32_t>(text.size() + (countsNul ? 1 : 0));
    return 1;
}

// GetPrivateProfileStringA: the text cut to the buffer's size less one (between
// characters), the
// count without the NUL; nothing at all fits in an empty buffer.
inline uint32_t storeCutAnswer(std::string_view text, std::span<char> buffer) {
    if (buffer.empty()) return 0;
    const size_t n = Utf8Prefix(text, buffer.size() - 1).size();
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

}  // namespace si32
