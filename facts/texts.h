#pragma once
// Text operations the steps apply before they show a value. Texts are the
// platform's single-byte texts, which on the host are UTF-8: every cut and
// case change works on whole characters and never splits one.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace si32 {

// Leading and trailing spaces removed (spaces only, not tabs or line ends).
std::string TrimSpaces(std::string_view text);

// The first count characters, or the whole text when it is shorter.
std::string LeftCharacters(std::string_view text, std::size_t count);

// Upper case for the letters that have one (ASCII, Latin, Greek, Cyrillic);
// every other character, and any byte that is not valid UTF-8, is kept.
std::string UpperCase(std::string_view text);

}  // namespace si32
