#pragma once
// How the Windows calls hand a text back into a caller's buffer, written once
// for both backends. They differ by family: the directory calls answer the
// size needed (with the NUL) and store nothing when the text does not fit;
// the name calls report through an in/out size; the profile calls cut; the
// volume and locale calls fail whole.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "platform/code_page.h"

namespace si32 {

// True when text and a NUL fit and were stored; the buffer is untouched
// otherwise.
inline bool copyWithNul(std::string_view text, std::span<char> buffer) {
    if (text.size() + 1 > buffer.size()) return false;
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

// GetWindowsDirectoryA, GetSystemDirectoryA, GetTempPathA.
inline uint32_t storeDirectoryAnswer(std::string_view text, std::span<char> buffer) {
    if (!copyWithNul(text, buffer)) return static_cast<uint32_t>(text.size() + 1);
    return static_cast<uint32_t>(text.size());
}

// GetComputerNameA (countsNul false) and GetUserNameA (countsNul true): the
// size comes back as the length stored, or as the length needed with the NUL
// when the buffer is too small; the buffer is then left alone. The stated
// size never lets the call write past the real buffer.
inline int32_t storeNameAnswer(std::string_view text, std::span<char> buffer, uint32_t& size, bool countsNul) {
    if (!copyWithNul(text, buffer.first(std::min<size_t>(size, buffer.size())))) {
        size = static_cast<uint32_t>(text.size() + 1);
        return 0;
    }
    size = static_cast<uint32_t>(text.size() + (countsNul ? 1 : 0));
    return 1;
}

// GetPrivateProfileStringA: the text cut to the buffer's size less one (between
// characters), the
// count without the NUL; nothing at all fits in an empty buffer.
inline uint32_t storeCutAnswer(std::string_view text, std::span<char> buffer, uint32_t codePage = CP_UTF8) {
    if (buffer.empty()) return 0;
    // Never half a character: the cut falls between characters of the code page.
    const size_t n = AnsiPrefix(text, buffer.size() - 1, codePage).size();
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

// GetLocaleInfoA: the size needed with the NUL, asked with an empty buffer or
// answered when the text fits; 0 when it does not.
inline int32_t storeLocaleAnswer(std::string_view text, std::span<char> buffer) {
    const auto needed = static_cast<int32_t>(text.size() + 1);
    if (buffer.empty()) return needed;
    return copyWithNul(text, buffer) ? needed : 0;
}

// GetVolumeInformationA's two texts: an empty buffer is one the caller did
// not ask for; a buffer too small for its text fails the call before
// anything is written, so both are checked before either is stored.
inline bool fitsIfAsked(std::string_view text, std::span<char> buffer) {
    return buffer.empty() || text.size() < buffer.size();
}
inline void storeIfAsked(std::string_view text, std::span<char> buffer) {
    if (!buffer.empty()) copyWithNul(text, buffer);
}

}  // namespace si32
