// The locale behind the regional settings is opened once for each set of
// categories and kept; each category must still answer from its own
// variable, whichever is asked first.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/host/kernel/host_locale.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

TEST(HostLocaleCache, EachCategoryAnswersFromItsOwnVariable) {
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
        {{}, "xx_NOWHERE.UTF-8", "de_DE.UTF-8", ".", "M\xC3\xA4r"},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        HostEnvironment environment;
        if (s.all) environment.Set("LC_ALL", *s.all);
        if (s.numeric) environment.Set("LC_NUMERIC", *s.numeric);
        if (s.time) environment.Set("LC_TIME", *s.time);
        for (const bool numericFirst : {true, false}) {
            HostLocale locale(environment);
            const auto decimal = [&] { return locale.Item(LC_NUMERIC, "LC_NUMERIC", RADIXCHAR); };
            const auto march = [&] { return locale.Item(LC_TIME, "LC_TIME", ABMON_3); };
            if (numericFirst) {
                EXPECT_EQ(decimal(), s.decimal) << "step " << i;
            }
            EXPECT_EQ(march(), s.march) << "step " << i;
            EXPECT_EQ(decimal(), s.decimal) << "step " << i << (numericFirst ? ", asked again" : "");
            EXPECT_EQ(march(), s.march) << "step " << i << ", asked again";
        }
    }
}

}  // namespace
}  // namespace si32
