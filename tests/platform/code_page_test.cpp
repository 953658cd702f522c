// Texts in a machine's ANSI code page: decoded for showing with U+FFFD for
// bytes that do not decode, encoded with '?' for characters the code page
// lacks, and cut only between characters.
#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"

namespace si32 {
namespace {

struct Conversion {
    const char* name;
    uint32_t codePage;
    std::string from, to;
};

TEST(CodePage, DecodesAnyBytes) {
    const Conversion cases[] = {
        {"Latin-1 letter", 1252, "caf\xE9", "caf\u00E9"},
        {"euro sign", 1252, "\x80", "\u20AC"},
        {"byte 1252 leaves undefined", 1252, "a\x81z", "a\uFFFDz"},
        {"Latin-1 on a UTF-8 machine", CP_UTF8, "caf\xE9", "caf\uFFFD"},
        {"cut UTF-8 at the end", CP_UTF8, "ab\xC3", "ab\uFFFD"},
        {"valid UTF-8", CP_UTF8, "\xC3\xA9t\xC3\xA9", "\u00E9t\u00E9"},
        {"Cyrillic", 1251, "\xC8\xE2", "\u0418\u0432"},
        {"Central European", 1250, "\x8A", "\u0160"},
        {"Shift-JIS pair", 932, "\x82\xA0", "\u3042"},
        {"Shift-JIS lead byte alone", 932, "a\x82", "a\uFFFD"},
        {"NUL kept", 1252, std::string("a\0b", 3), std::string("a\0b", 3)},
        {"ASCII on UTF-8", CP_UTF8, "plain", "plain"},
        {"ASCII is not ASCII in EBCDIC", 500, "A", "\u00A0"},
    };
    for (const Conversion& c : cases) EXPECT_EQ(DecodeAnsi(c.from, c.codePage), c.to) << c.name;
}

TEST(CodePage, EncodesWithTheDefaultCharacter) {
    const Conversion cases[] = {
        {"Latin-1 letter", 1252, "caf\u00E9", "caf\xE9"},
        {"missing from the code page", 1252, "\u3042x", "?x"},
        {"Shift-JIS", 932, "\u3042", "\x82\xA0"},
        {"UTF-8 unchanged", CP_UTF8, "\u00E9", "\xC3\xA9"},
    };
    for (const Conversion& c : cases) EXPECT_EQ(EncodeAnsi(c.from, c.codePage), c.to) << c.name;
}

TEST(CodePage, CutsBetweenCharacters) {
    struct Cut {
        const char* name;
        uint32_t codePage;
        std::string text;
        std::size_t maxBytes;
        std::size_t kept;
    };
    const Cut cases[] = {
        {"single-byte: anywhere", 1252, "\xE9\xE9\xE9", 2, 2},
        {"UTF-8: before a split character", CP_UTF8, "\xC3\xA9\xC3\xA9", 3, 2},
        {"UTF-8: stray continuation bytes stand alone", CP_UTF8, "\x80\x80\x80\x80\x80", 4, 4},
        {"Shift-JIS: before a split pair", 932, "a\x82\xA0\x82\xA2", 4, 3},
        {"Shift-JIS: half-width katakana are one byte", 932, "\xB1\xB2\xB3", 2, 2},
        {"fits whole", 932, "\x82\xA0", 8, 2},
    };
    for (const Cut& c : cases) EXPECT_EQ(AnsiPrefix(c.text, c.maxBytes, c.codePage).size(), c.kept) << c.name;
}

TEST(CodePage, Utf16LittleEndian) {
    EXPECT_EQ(DecodeUtf16Le(std::string("A\0\xE9\0", 4)), "A\u00E9");
    EXPECT_EQ(DecodeUtf16Le(std::string("A\0\x00\xD8", 4)), "A\uFFFD") << "a lone surrogate";
    EXPECT_TRUE(IsKnownCodePage(1252));
    EXPECT_FALSE(IsKnownCodePage(12345));
}

}  // namespace
}  // namespace si32
