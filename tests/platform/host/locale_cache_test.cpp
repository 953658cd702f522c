// The locale behind the regional settings is kept between calls; every change
// of the environment must still show at the next call, for each category on
// its own.
#include <gtest/gtest.h>

#include "platform/host/kernel/host_locale.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

using hosttest::ScopedEnv;

TEST(HostLocaleCache, EachCategoryFollowsItsVariableFromCallToCall) {
    if (!hosttest::localeInstalled("de_DE.UTF-8")) GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    struct Step {
        std::optional<std::string> all, numeric, time;
        const char* decimal;
        const char* march;
    };
    const Step steps[] = {
        {{}, "de_DE.UTF-8", "C", ",", "Mar"},
        {{}, "C", "de_DE.UTF-8", ".", "M\xC3\xA4r"},
        {{}, "de_DE.UTF-8", "de_DE.UTF-8", ",", "M\xC3\xA4r"},
        {"C", "de_DE.UTF-8", "de_DE.UTF-8", ".", "Mar"},
        {{}, "de_DE.UTF-8", "de_DE.UTF-8", ",", "M\xC3\xA4r"},
        {{}, "xx_NOWHERE.UTF-8", "de_DE.UTF-8", ".", "M\xC3\xA4r"},
    };
    ScopedEnv lang("LANG", std::nullopt);
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        ScopedEnv all("LC_ALL", s.all);
        ScopedEnv numeric("LC_NUMERIC", s.numeric);
        ScopedEnv time("LC_TIME", s.time);
        EXPECT_EQ(localeItem(LC_NUMERIC, "LC_NUMERIC", RADIXCHAR), s.decimal) << "step " << i;
        EXPECT_EQ(localeItem(LC_TIME, "LC_TIME", ABMON_3), s.march) << "step " << i;
    }
}

}  // namespace
}  // namespace si32
