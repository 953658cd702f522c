#include <gtest/gtest.h>

#include "app/taskbar.h"
#include "platform/checked.h"
#include "platform/run_time_error.h"

namespace si32 {
namespace {

TEST(Centring, HalfRoundsToEvenThenTruncates) {
    const struct {
        double in;
        int32_t out;
    } cases[] = {
        {15360 - 9600, 2880}, {11520 - 8700, 1410}, {5761, 2880}, {-101, -50},
        {2880.5, 1440},       {2881.5, 1441},       {-5, -2},     {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(HalfOf(c.in), c.out) << c.in;
    EXPECT_THROW(HalfOf(1e12), RunTimeError);
}

}  // namespace
}  // namespace si32

namespace si32 {
namespace {

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
