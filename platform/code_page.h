#pragma once
// Texts as the program holds them: bytes in the machine's ANSI code page.
// Whatever shows a text decodes it from that code page and never trusts it
// to be valid; whatever cuts one into a buffer cuts between characters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace si32 {

inline constexpr uint32_t CP_UTF8 = 65001;

// True when the code page can be converted from and to.
bool IsKnownCodePage(uint32_t codePage);

// The bytes as UTF-8; a byte that does not decode shows as U+FFFD.
std::string DecodeAnsi(std::string_view bytes, uint32_t codePage);

// UTF-8 text (invalid sequences count as U+FFFD) in the code page; a
// character the code page lacks becomes '?', the default character of the
// Windows conversion.
std::string EncodeAnsi(std::string_view utf8, uint32_t codePage);

// The longest prefix of at most maxBytes bytes that ends on a character
// boundary of the code page.
std::string_view AnsiPrefix(std::string_view text, std::size_t maxBytes, uint32_t codePage);

// UTF-16LE bytes (without their byte-order mark) as UTF-8, with the same
// replacement rule.
std::string DecodeUtf16Le(std::string_view bytes);

}  // namespace si32
