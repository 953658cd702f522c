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
    const std::byte bytes[] = {std::byte{'x'}, std::byte{0}, std::byte{'y'}};
    EXPECT_EQ("x", upToNul(std::span<const std::byte>(bytes)));
    EXPECT_EQ("", upToNul(std::span<const std::byte>()));
}

TEST(TextHelpers, NoCaseOrderTakesBytesAsUnsigned) {
    const struct {
        const char *a, *b;
        bool less;
    } cases[] = {{"abc", "ABD", true},    {"ABD", "abc", false},    {"Win", "win", false}, {"win", "WINDOWS", true},
                 {"Z", "\xC3\x84", true}, {"\xC3\x84", "Z", false}, {"", "a", true},       {"_", "a", false}};
    for (const auto& c : cases) EXPECT_EQ(c.less, lessNoCase(c.a, c.b)) << c.a << " < " << c.b;
}

TEST(TextHelpers, PathsWithinAFolder) {
    const struct {
        const char *path, *folder;
        bool within;
    } cases[] = {{"/a/b", "/a/b", true}, {"/a/b/c", "/a/b", true}, {"/a/bc", "/a/b", false}, {"/a", "/a/b", false},
                 {"/x", "/", true},      {"relative", "/", false}, {"", "/", false},         {"/a/b", "", false}};
    for (const auto& c : cases) EXPECT_EQ(c.within, pathWithin(c.path, c.folder)) << c.path << " in " << c.folder;
}

TEST(TextHelpers, Utf8PrefixNeverEndsInsideACharacter) {
    const struct {
        std::string text;
        std::size_t maxBytes;
        std::string prefix;
    } cases[] = {
        {"abc", 0, ""},
        {"abc", 5, "abc"},
        {"\xE2\x82\xAC", 2, ""},
        {"a\xE2\x82\xAC"
         "b",
         4, "a\xE2\x82\xAC"},
        {"abc\xC3\xA9", 4, "abc"},
        {"abc\xE6\x97\xA5", 5, "abc"},
        {"abc\xE6\x97\xA5", 6, "abc\xE6\x97\xA5"},
        // Bytes that were never one character are cut where they stand.
        {"ab\x80\x80\x80\x80", 5, "ab\x80\x80\x80"},
        {"ab\xC3"
         "c",
         3, "ab\xC3"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.prefix, utf8Prefix(c.text, c.maxBytes)) << c.text << " / " << c.maxBytes;
}

TEST(TextHelpers, CountsSaturateAt32Bits) {
    const struct {
        uint64_t value;
        uint32_t saturated;
    } cases[] = {{0, 0},
                 {0xFFFFFFFEu, 0xFFFFFFFEu},
                 {0xFFFFFFFFu, 0xFFFFFFFFu},
                 {0x100000000u, 0xFFFFFFFFu},
                 {UINT64_MAX, 0xFFFFFFFFu}};
    for (const auto& c : cases) EXPECT_EQ(c.saturated, saturate32(c.value)) << c.value;
}

}  // namespace
}  // namespace si32
