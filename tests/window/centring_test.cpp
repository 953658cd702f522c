#include <gtest/gtest.h>

#include "platform/run_time_error.h"
#include "window/taskbar.h"

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
