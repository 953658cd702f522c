#pragma once
// Texts as the program holds them: bytes in the machine's ANSI code page.
// Whatever shows a text decodes it from that code page and never trusts it
// to be valid; whatever cuts one into a buffer cuts between characters.
#include <cstddef>
#include <cstdint>
#include <optional>
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

// True when DecodeAnsi gives the text whole: every byte decodes, and the
// characters encode back into the same bytes.
bool DecodesExactly(std::string_view bytes, uint32_t codePage);

// A text that holds bytes its code page cannot show (Latin-1 on a UTF-8
// machine, a byte Windows-1252 leaves undefined) in a form that takes them
// back exactly: UTF-8 in which "%HH" (two hexadecimal digits) is the byte HH
// as it is, and a '%' is written "%25". Every character that decodes exactly
// stays a character.
std::string EscapeAnsi(std::string_view bytes, uint32_t codePage);
// The bytes an escaped text stands for: its characters converted into the
// code page, its escapes as they are. nullopt when a '%' is not followed by
// two hexadecimal digits.
std::optional<std::string> UnescapeAnsi(std::string_view escaped, uint32_t codePage);

}  // namespace si32
