// Separators and month names from the environment's locale, in UTF-8, with
// the count conventions of GetLocaleInfoA.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/host/kernel/host_kernel.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

// The answer in an environment of these variables and no others.
std::optional<std::string> localeInfo(const std::vector<std::pair<const char*, std::string>>& variables, LCTYPE type) {
    HostContext context;
    for (const auto& [name, value] : variables) context.environment.Set(name, value);
    HostRegional regional(context);
    std::vector<char> buffer(64, 'x');
    const int32_t count = regional.GetLocaleInfoA(type, buffer);
    if (count == 0) return std::nullopt;
    EXPECT_EQ(buffer[static_cast<size_t>(count - 1)], '\0');
    return std::string(buffer.data(), static_cast<size_t>(count - 1));
}

struct LocaleCase {
    const char* locale;
    const char* decimal;
    std::vector<std::string> thousands;  // any of these
    const char* january;
    const char* march;
};

TEST(HostRegional, FollowsTheLocale) {
    const LocaleCase cases[] = {
        {"C", ".", {""}, "Jan", "Mar"},
        {"de_DE.UTF-8", ",", {"."}, "Jan", "M\xC3\xA4r"},
        {"fr_FR.UTF-8", ",", {"\xE2\x80\xAF", "\xC2\xA0"}, "janv.", "mars"},
        // Latin-1 data comes back as UTF-8.
        {"de_DE.ISO-8859-1", ",", {"."}, "Jan", "M\xC3\xA4r"},
    };
    for (const LocaleCase& c : cases) {
        if (!hosttest::localeInstalled(c.locale)) {
            std::printf("skipped: the %s locale is not installed\n", c.locale);
            continue;
        }
        const std::vector<std::pair<const char*, std::string>> env = {{"LC_NUMERIC", c.locale}, {"LC_TIME", c.locale}};
        EXPECT_EQ(localeInfo(env, LOCALE_SDECIMAL), c.decimal) << c.locale;
        const auto thousands = localeInfo(env, LOCALE_STHOUSAND);
        ASSERT_TRUE(thousands);
        EXPECT_NE(std::find(c.thousands.begin(), c.thousands.end(), *thousands), c.thousands.end()) << c.locale;
        EXPECT_EQ(localeInfo(env, LOCALE_SABBREVMONTHNAME1), c.january) << c.locale;
        EXPECT_EQ(localeInfo(env, LOCALE_SABBREVMONTHNAME1 + 2), c.march) << c.locale;
    }
}

TEST(HostRegional, LcAllOverridesAndMissingLocalesReadAsC) {
    EXPECT_EQ(localeInfo({{"LC_NUMERIC", "de_DE.UTF-8"}, {"LC_ALL", "C"}}, LOCALE_SDECIMAL), ".");
    EXPECT_EQ(localeInfo({{"LC_NUMERIC", "de_DE.UTF-8"}, {"LC_ALL", "xx_NOWHERE.UTF-8"}}, LOCALE_SDECIMAL), ".");
    EXPECT_EQ(localeInfo({{"LC_ALL", "xx_NOWHERE.UTF-8"}}, LOCALE_SABBREVMONTHNAME1 + 11), "Dec");
    if (hosttest::localeInstalled("de_DE.UTF-8")) {
        EXPECT_EQ(localeInfo({{"LANG", "de_DE.UTF-8"}, {"LC_TIME", "C"}}, LOCALE_SDECIMAL), ",") << "LANG stands in";
    }
}

TEST(HostRegional, CountConventions) {
    HostContext context;
    context.environment.Set("LC_ALL", "C");
    HostRegional regional(context);
    EXPECT_EQ(regional.GetLocaleInfoA(LOCALE_SABBREVMONTHNAME1, {}), 4) << "the size needed";
    std::vector<char> exact(4), small(3, 'x');
    EXPECT_EQ(regional.GetLocaleInfoA(LOCALE_SABBREVMONTHNAME1, exact), 4);
    EXPECT_STREQ(exact.data(), "Jan");
    EXPECT_EQ(regional.GetLocaleInfoA(LOCALE_SABBREVMONTHNAME1, small), 0);
    EXPECT_EQ(std::string(small.begin(), small.end()), "xxx");
    EXPECT_EQ(regional.GetLocaleInfoA(LOCALE_SABBREVMONTHNAME1 + 12, exact), 0) << "no thirteenth month";
    EXPECT_EQ(regional.GetLocaleInfoA(0x1234, exact), 0);
}

}  // namespace
}  // namespace si32
