// What reaches a terminal: raw bytes from a command line or a file name are
// shown escaped byte by byte, whatever sequence they almost form.
#include <gtest/gtest.h>

#include <string>

#include "platform/terminal_text.h"

namespace si32 {
namespace {

TEST(TerminalText, BytesThatAreNotUtf8AreShownOneEscapeEach) {
    const struct {
        const char* what;
        std::string bytes;
        std::string shown;
    } cases[] = {
        {"an 8-bit CSI, which some terminals obey",
         "a\x9b"
         "31m",
         "a\\x9b31m"},
        {"an overlong NUL", std::string("\xc0\x80", 2), "\\xc0\\x80"},
        {"a surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"past U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        {"a sequence cut short, then text", "\xe2\x82z", "\\xe2\\x82z"},
        {"Latin-1", "caf\xe9", "caf\\xe9"},
        {"the last code point and the one before the surrogates", "\xf4\x8f\xbf\xbf\xed\x9f\xbf",
         "\xf4\x8f\xbf\xbf\xed\x9f\xbf"},
        {"a backslash stays", "C:\\WINDOWS\\x41", "C:\\WINDOWS\\x41"},
    };
    for (const auto& c : cases) EXPECT_EQ(TerminalText(c.bytes), c.shown) << c.what;
}

}  // namespace
}  // namespace si32
