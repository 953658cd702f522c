#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "format/format_value.h"
#include "format/size_pair.h"
#include "platform/run_time_error.h"

namespace si32 {
namespace {

// Regional settings a test can change between calls.
class FakeRegional : public Regional {
public:
    std::string decimal = ".", thousands = ",";
    std::vector<std::string> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    bool fails = false;

    int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) override {
        if (fails) return 0;
        std::string value;
        if (type == LOCALE_SDECIMAL) value = decimal;
        else if (type == LOCALE_STHOUSAND) value = thousands;
        else if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12)
            value = months[type - LOCALE_SABBREVMONTHNAME1];
        else return 0;
        if (buffer.size() < value.size() + 1) return 0;
        std::memcpy(buffer.data(), value.c_str(), value.size() + 1);
        return static_cast<int32_t>(value.size() + 1);
    }
};

TEST(FormatValue, PatternTable) {
    FakeRegional r;
    const struct {
        const char* pattern;
        double value;
        const char* text;
    } rows[] = {
        {"###,###,##0", 0, "0"},
        {"###,###,##0", 1234567, "1,234,567"},
        {"###,###,##0", 12.5, "13"},
        {"###,##0.##", 0, "0."},
        {"###,##0.##", 0.5, "0.5"},
        {"###,##0.##", 1234.5678, "1,234.57"},
        {"###,##0.##", 2.999, "3."},
        {"###,##0.##", 95.625, "95.63"},
        {"###,##0.##", 5, "5."},
        {"###,##0.##", 128, "128."},
        {"###,###.##", 0, "."},
        {"###,###.##", 0.25, ".25"},
        {"###,###.##", 1000, "1,000."},
        {"###,###,###", 0, ""},
        {"###,###,###", 0.4, ""},
        {"###,###,###", 0.5, "1"},
        {"###,###,###", 999.5, "1,000"},
        {"###,###,###,###", 4096, "4,096"},
        {"###,###,###,###", 0, ""},
        {"#,###", 256, "256"},
        {"#,###", 16777216, "16,777,216"},
        {"#,###", 4294967296.0, "4,294,967,296"},
        {"#,###", 0, ""},
        {"###,###", 1234567890, "1,234,567,890"},
        {"###,###", 0, ""},
        {"00", 0, "00"},
        {"00", 1, "01"},
        {"00", 10, "10"},
        {"00", 100, "100"},
        {"", 4, "4"},
        {"", 1998, "1998"},
        {"", -1294967296, "-1294967296"},
        {"", 0.5, "0.5"},
        {"###,###,##0", -1234, "-1,234"},
        {"###,##0.##", -0.001, "0."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatValue(r, row.value, row.pattern), row.text) << row.pattern << " " << row.value;
}

TEST(FormatValue, SizePairsOfMemoryAndDisks) {
    FakeRegional r;
    const struct {
        double bytes, step;
        const char *smallerPattern, *smallerUnit, *largerPattern, *largerUnit, *primary, *secondary;
    } rows[] = {
        {134217728, 1024, "###,###", "  KB", "###,##0.##", " MB)", "131,072  KB", "(128. MB)"},
        {100270080, 1024, "###,###", "  KB", "###,##0.##", " MB)", "97,920  KB", "(95.63 MB)"},
        {1500000000, 1024, "###,###,##0", "  KB", "###,##0.##", " MB)", "1,464,844  KB", "(1,430.51 MB)"},
        {78148268.0 * 1024, 1048576, "###,###,###", "  MB", "###,###.##", " GB)", "76,317  MB", "(74.53 GB)"},
        {25769803776.0, 1024, "###,###", "  KB", "###,##0.##", " MB)", "25,165,824  KB", "(24,576. MB)"},
    };
    for (const auto& row : rows) {
        const SizePair pair = FormatSizePair(r, row.bytes, row.step, row.smallerPattern, row.smallerUnit,
                                             row.largerPattern, row.largerUnit);
        EXPECT_EQ(pair.primary, row.primary);
        EXPECT_EQ(pair.secondary, row.secondary);
    }
}

TEST(FormatValue, FollowsRegionalSettingsAtTheTimeOfTheCall) {
    FakeRegional r;
    EXPECT_EQ(FormatValue(r, 1234.5678, "###,##0.##"), "1,234.57");
    r.decimal = ",";
    r.thousands = ".";
    EXPECT_EQ(FormatValue(r, 1234.5678, "###,##0.##"), "1.234,57");
    EXPECT_EQ(FormatSizePair(r, 134217728, 1024, "###,###", "  KB", "###,##0.##", " MB)").secondary, "(128, MB)");
    r.decimal = "";  // a setting that cannot be read keeps the default
    r.fails = true;
    EXPECT_EQ(FormatValue(r, 1234.5, "###,##0.##"), "1,234.5");
}

TEST(FormatValue, DatePattern) {
    FakeRegional r;
    EXPECT_EQ(FormatValue(r, DateTime{2005, 3, 5, 14, 10, 0}, "dd-mmm-yyyy"), "05-Mar-2005");
    EXPECT_EQ(FormatValue(r, DateTime{2005, 12, 7, 0, 0, 0}, "dd-mmm-yyyy"), "07-Dec-2005");
    r.months[2] = "mars";
    EXPECT_EQ(FormatValue(r, DateTime{1998, 3, 31, 23, 59, 59}, "dd-mmm-yyyy"), "31-mars-1998");
    EXPECT_THROW(FormatValue(r, DateTime{}, "dd-mmm-yyyy"), RunTimeError);
}

}  // namespace
}  // namespace si32
