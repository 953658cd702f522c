#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "facts/trvwin_ini.h"
#include "platform/guarded.h"
#include "string_file.h"

namespace si32 {
namespace {

using factstest::EndlessFile;
using factstest::StringFile;

// Reads count fields; a field whose read fails is nullopt.
std::vector<std::optional<std::string>> readFields(const std::string& text, std::size_t count) {
    StringFile file(text);
    TrvwinReader reader(file);
    std::vector<std::optional<std::string>> fields;
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<std::string> field;
        guarded([&] { field = reader.ReadField(); });
        fields.push_back(field);
    }
    return fields;
}

struct Case {
    const char* name;
    std::string text;
    std::vector<std::optional<std::string>> expected;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class TrvwinReaderTest : public ::testing::TestWithParam<Case> {};

TEST_P(TrvwinReaderTest, ReadsFieldsInOrder) {
    const Case& c = GetParam();
    EXPECT_EQ(readFields(c.text, c.expected.size()), c.expected);
}

const std::string kLongRun(5000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Fields, TrvwinReaderTest,
    ::testing::Values(
        Case{"quoted", "\"C:\\TARVELLO\",\"D:\",1\r\n", {"C:\\TARVELLO", "D:", "1", std::nullopt}},
        Case{"unquoted_blanks_around", "   C:\\TARVELLO  ,\tD:\t\r\n", {"C:\\TARVELLO", "D:", std::nullopt}},
        Case{"blanks_inside_quotes_kept", "\"  c:\\tarvello  \",x", {"  c:\\tarvello  ", "x"}},
        Case{"line_ends_of_every_kind", "a\r\nb\nc\rd", {"a", "b", "c", "d", std::nullopt}},
        Case{"empty_fields", "a,,b\r\n\r\nc", {"a", "", "b", "", "c"}},
        Case{"short_file_fails_field_by_field", "x,y", {"x", "y", std::nullopt, std::nullopt}},
        Case{"empty_file", "", {std::nullopt, std::nullopt}},
        Case{"unterminated_quote_runs_to_the_end", "\"abc,def\r\nghi", {"abc,def\r\nghi", std::nullopt}},
        Case{"text_after_closing_quote_dropped", "\"a\"junk,b", {"a", "b"}},
        Case{"comma_inside_quotes", "\"a,b\",c", {"a,b", "c"}},
        Case{"nul_ends_what_a_field_keeps", std::string("ab\0cd,ef", 8), {"ab", "ef"}},
        Case{"binary_bytes_kept", "\x01\xff\x7f,z", {"\x01\xff\x7f", "z"}},
        Case{"invalid_tail_kept_when_not_capped", "ab\xe0\xdf,z", {"ab\xe0\xdf", "z"}},
        Case{"long_field_capped", kLongRun + ",next", {std::string(kTrvwinFieldLimit, 'x'), "next"}},
        Case{"cap_never_splits_a_character",
             std::string(kTrvwinFieldLimit - 1, 'a') + "\xc3\xa9" + ",n",
             {std::string(kTrvwinFieldLimit - 1, 'a'), "n"}},
        Case{"cap_never_splits_a_longer_character",
             std::string(kTrvwinFieldLimit - 2, 'a') + "\xe6\x97\xa5" + ",n",
             {std::string(kTrvwinFieldLimit - 2, 'a'), "n"}},
        Case{"character_ending_at_the_cap_kept",
             std::string(kTrvwinFieldLimit - 2, 'a') + "\xc3\xa9" + "more,n",
             {std::string(kTrvwinFieldLimit - 2, 'a') + "\xc3\xa9", "n"}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(TrvwinReaderBounds, AFileThatNeverEndsIsReadBoundedly) {
    for (char byte : {'x', '"', ','}) {
        EndlessFile file(byte);
        TrvwinReader reader(file);
        for (std::size_t i = 0; i < kTrvwinFieldCount; ++i) {
            std::string field;
            guarded([&] { field = reader.ReadField(); });
            EXPECT_LE(field.size(), kTrvwinFieldLimit);
        }
        EXPECT_LE(file.reads, kTrvwinReadLimit) << "byte " << byte;
    }
}

TEST(TrvwinReaderBounds, FieldsPastTheReadLimitFail) {
    // Sixteen fields each longer than a sixteenth of the read limit.
    std::string text;
    for (std::size_t i = 0; i < kTrvwinFieldCount; ++i) text += std::string(kTrvwinReadLimit / 8, 'a') + ",";
    const auto fields = readFields(text, kTrvwinFieldCount);
    EXPECT_TRUE(fields[0].has_value());
    EXPECT_FALSE(fields[kTrvwinFieldCount - 1].has_value());
}

}  // namespace
}  // namespace si32
