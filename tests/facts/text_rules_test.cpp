#include <gtest/gtest.h>

#include <string>

#include "facts/numeric_value.h"
#include "facts/texts.h"

namespace si32 {
namespace {

TEST(NumericValue, TakesTheLeadingDecimalNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},          {"4.10", 4.1},     {"4.00", 4.0}, {"5.01", 5.01}, {"10.00", 10},       {"1998", 1998},
        {"-1234", -1234}, {"2600abc", 2600}, {"abc", 0},    {"  42", 42},   {"3.51.1057", 3.51}, {".5", 0.5},
        {"7.", 7},        {"-", 0},          {"1 2", 1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumericValue, ThresholdsCompareExactly) {
    // The version thresholds meet texts that spell them exactly.
    EXPECT_GE(NumericValue("4.10"), 4.1);
    EXPECT_LT(NumericValue("4.09"), 4.1);
    EXPECT_GE(NumericValue("5.01"), 5.01);
    EXPECT_LT(NumericValue("5.00"), 5.01);
}

TEST(Texts, TrimRemovesSpacesOnly) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces("\ta\r\n"), "\ta\r\n");
}

TEST(Texts, LeftCountsCharactersNotBytes) {
    const struct {
        std::string text;
        std::size_t count;
        std::string expected;
    } cases[] = {
        {"Standard 101/102-Key or Microsoft", 20, "Standard 101/102-Key"},
        {"exactly twenty chars", 20, "exactly twenty chars"},
        {"short", 20, "short"},
        {"D\xc3\xa4nisch", 2, "D\xc3\xa4"},  // a two-byte letter is kept whole
        {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", 2, "\xe6\x97\xa5\xe6\x9c\xac"},
        {"ab", 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LeftCharacters(c.text, c.count), c.expected) << c.text;
}

TEST(Texts, UpperCaseChangesLettersAndKeepsTheRest) {
    const struct {
        std::string text, expected;
    } cases[] = {
        {"c:\\program files\\tarvello", "C:\\PROGRAM FILES\\TARVELLO"},
        {"m\xc3\xbcller \xc3\xa9t\xc3\xa9", "M\xc3\x9cLLER \xc3\x89T\xc3\x89"},
        {"\xc5\x82\xc3\xb3"
         "d\xc5\xba",
         "\xc5\x81\xc3\x93"
         "D\xc5\xb9"},                                             // Polish
        {"\xd0\xbc\xd0\xb8\xd1\x80", "\xd0\x9c\xd0\x98\xd0\xa0"},  // Cyrillic
        {"\xce\xb1\xcf\x82", "\xce\x91\xcf\x82"},                  // final sigma kept
        {"\xe6\x97\xa5 \xff\xc3", "\xe6\x97\xa5 \xff\xc3"},        // others and stray bytes pass
    };
    for (const auto& c : cases) EXPECT_EQ(UpperCase(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace si32
