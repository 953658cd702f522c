// Arithmetic on outside numbers raises the overflow error instead of
// trapping or wrapping.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/checked.h"

namespace si32 {
namespace {

bool overflows(auto statement) {
    try {
        statement();
    } catch (const RunTimeError& error) {
        return error.kind() == ErrorKind::Overflow;
    }
    return false;
}

TEST(Checked, RaisesWhereTheResultCannotBeHeld) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_TRUE(overflows([] { return checkedDiv32(kMin, -1); })) << "the quotient that traps";
    EXPECT_TRUE(overflows([] { return checkedDiv32(7, 0); }));
    EXPECT_EQ(checkedDiv32(kMin, 1), kMin);
    EXPECT_EQ(checkedDiv32(-7, 2), -3) << "truncated";
    EXPECT_TRUE(overflows([] { return checkedCast<int64_t>(9223372036854775807.0); })) << "rounds to 2^63";
    EXPECT_TRUE(overflows([] { return checkedCast<int32_t>(2147483648.0); }));
    EXPECT_EQ(checkedCast<int32_t>(-2147483648.0), kMin);
    EXPECT_TRUE(overflows([] { return checkedCast<uint32_t>(-1.0); }));
}

TEST(CheckedCast, RaisesOverflowOnlyOutsideTheTargetRange) {
    EXPECT_EQ(checkedCast<int16_t>(uint32_t{3}), 3);
    EXPECT_EQ(checkedCast<int16_t>(int64_t{-32768}), -32768);
    EXPECT_THROW(checkedCast<int16_t>(uint32_t{32768}), RunTimeError);
    EXPECT_THROW(checkedCast<int16_t>(int64_t{-32769}), RunTimeError);
    EXPECT_EQ(checkedCast<int32_t>(2147483647.0), 2147483647);
    EXPECT_THROW(checkedCast<int32_t>(2147483648.0), RunTimeError);
}

}  // namespace
}  // namespace si32
