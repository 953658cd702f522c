// The shared text rules, at the edges where the copies they replace differed.
#include <gtest/gtest.h>

#include "platform/text_helpers.h"

namespace si32 {
namespace {

TEST(TextHelpers, RootPathLetters) {
    const struct {
        const char* path;
        char letter;
    } cases[] = {{"c:\\", 'C'}, {"C:/", 'C'},   {"z:", 'Z'}, {"C:\\WINDOWS", '\0'}, {"C", '\0'}, {"1:\\", '\0'},
                 {"@:", '\0'},  {"C;\\", '\0'}, {"", '\0'}};
    for (const auto& c : cases) EXPECT_EQ(c.letter, rootPathLetter(c.path)) << c.path;
}

TEST(TextHelpers, NumbersDecimalOrAfter0x) {
    const struct {
        const char* text;
        std::optional<int64_t> value;
    } cases[] = {{"42", 42},         {"0x2A", 42},          {"0X2a", 42},         {"-3", -3}, {"0x", std::nullopt},
                 {"", std::nullopt}, {"12 ", std::nullopt}, {"2A", std::nullopt}, {"0", 0}};
    for (const auto& c : cases) EXPECT_EQ(c.value, parseNumber<int64_t>(c.text)) << c.text;
    EXPECT_EQ(std::nullopt, parseNumber<uint32_t>("0x100000000"));
}

TEST(TextHelpers, CaseTrimsAndNuls) {
    // Bytes outside ASCII are never folded: they may be parts of one
    // multi-byte character.
    EXPECT_TRUE(equalsNoCase("System.INI", "system.ini"));
    EXPECT_FALSE(equalsNoCase("\xC3\x84", "\xC3\xA4"));
    EXPECT_FALSE(equalsNoCase("abc", "abcd"));
    EXPECT_EQ("\xC3\x84x", lowerAscii("\xC3\x84X"));
    EXPECT_TRUE(startsWithNoCase("DWORD:0001", "dword:"));
    EXPECT_FALSE(startsWithNoCase("dw", "dword:"));
    EXPECT_EQ("a b", trimSpaces("  a b  "));
    EXPECT_EQ("\ta\r\n", trimSpaces("\ta\r\n"));
    EXPECT_EQ("", trimmed(" \t ", " \t"));
    EXPECT_EQ("ab", upToNul(std::string_view("ab\0cd", 5)));
    EXPECT_EQ("ab", upToNul("ab"));
}

}  // namespace
}  // namespace si32
