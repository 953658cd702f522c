#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "facts/res_tmp.h"
#include "platform/guarded.h"
#include "string_file.h"

namespace si32 {
namespace {

using factstest::EndlessFile;
using factstest::StringFile;

struct Outcome {
    std::optional<int16_t> value;
    std::optional<ErrorKind> error;
    bool operator==(const Outcome&) const = default;
};

const Outcome kPastEnd{std::nullopt, ErrorKind::PlatformFailure};
const Outcome kNotANumber{std::nullopt, ErrorKind::BadConversion};
const Outcome kOutOfRange{std::nullopt, ErrorKind::Overflow};
Outcome value(int16_t v) { return {v, std::nullopt}; }

Outcome readItem(ResTmpReader& reader) {
    try {
        return value(reader.ReadItem());
    } catch (const RunTimeError& e) {
        return {std::nullopt, e.kind()};
    }
}

struct Case {
    const char* name;
    std::string text;
    Outcome first, second;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ResTmpReaderTest : public ::testing::TestWithParam<Case> {};

TEST_P(ResTmpReaderTest, ReadsTwoItems) {
    const Case& c = GetParam();
    StringFile file(c.text);
    ResTmpReader reader(file);
    EXPECT_EQ(readItem(reader), c.first);
    EXPECT_EQ(readItem(reader), c.second);
}

INSTANTIATE_TEST_SUITE_P(Items, ResTmpReaderTest,
                         ::testing::Values(Case{"comma_on_one_line", "85,55\r\n", value(85), value(55)},
                                           Case{"a_line_each", "72\r\n64\r\n", value(72), value(64)},
                                           Case{"blanks_between", "  7 ,  9  ", value(7), value(9)},
                                           Case{"blank_separated", "85 55", value(85), value(55)},
                                           Case{"zero_first", "0,55\r\n", value(0), value(55)},
                                           Case{"anything_after_second_ignored", "1,2,junk", value(1), value(2)},
                                           Case{"empty_file", "", kPastEnd, kPastEnd},
                                           Case{"one_item", "85\r\n", value(85), kPastEnd},
                                           Case{"word_then_number", "abc,55", kNotANumber, value(55)},
                                           Case{"missing_first_item", ",55", kNotANumber, value(55)},
                                           Case{"fraction", "1.5,2", kNotANumber, value(2)},
                                           Case{"bare_sign", "-,3", kNotANumber, value(3)},
                                           Case{"signed_limits", "-32768,+32767", value(-32768), value(32767)},
                                           Case{"just_past_the_limits", "32768,-32769", kOutOfRange, kOutOfRange},
                                           Case{"many_digits", std::string(100, '9') + ",4", kOutOfRange, value(4)},
                                           Case{"leading_zeros", std::string(60, '0') + "42,1", value(42), value(1)},
                                           Case{"nul_bytes", std::string("\0\0", 2), kNotANumber, kPastEnd}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ResTmpReaderBounds, AFileThatNeverEndsIsReadBoundedly) {
    for (char byte : {'7', ' ', 'x'}) {
        EndlessFile file(byte);
        ResTmpReader reader(file);
        guarded([&] { reader.ReadItem(); });
        guarded([&] { reader.ReadItem(); });
        EXPECT_LE(file.reads, kResTmpReadLimit) << "byte " << byte;
    }
}

}  // namespace
}  // namespace si32
