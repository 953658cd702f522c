#pragma once
// Items of the user's locale as UTF-8 text, the host's single-byte code page.
#include <langinfo.h>

#include <optional>
#include <string>

namespace si32 {

// The locale the environment names for a category (LC_ALL, then the
// category's own variable, then LANG), "C" when none is set.
std::string environmentLocaleName(const char* categoryVariable);

// One nl_langinfo item of that locale, converted to UTF-8 from the locale's
// own character set. A locale that is not installed reads as "C", as the C
// library would run in it. nullopt when the text cannot be converted.
std::optional<std::string> localeItem(int category, const char* categoryVariable, nl_item item);

}  // namespace si32
