#include "format/format_value.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "format/regional_settings.h"
#include "platform/run_time_error.h"

namespace si32 {
namespace {

// A numeric pattern reduced to what it decides.
struct NumericPattern {
    int minIntegerDigits = 0;
    bool grouping = false;
    bool hasPoint = false;
    int fractionDigits = 0;
};

NumericPattern parsePattern(std::string_view pattern) {
    NumericPattern p;
    if (pattern.empty()) {
        p.minIntegerDigits = 1;
        return p;
    }
    const auto point = pattern.find('.');
    const std::string_view integer = pattern.substr(0, point);
    for (char ch : integer) {
        if (ch == '0') ++p.minIntegerDigits;
        if (ch == ',') p.grouping = true;
    }
    if (point != std::string_view::npos) {
        p.hasPoint = true;
        for (char ch : pattern.substr(point + 1))
            if (ch == '#' || ch == '0') ++p.fractionDigits;
    }
    return p;
}

struct Rounded {
    bool negative = false;
    std::string integer;   // without leading zeros; "" for zero
    std::string fraction;  // exactly the requested number of digits
};

// The value taken to 15 significant decimal digits, then to fractionDigits
// places, halves away from zero. Working on the decimal digits keeps 95.625
// at 95.63 and 2.999 at 3, where binary rounding could go either way.
Rounded roundDecimal(double value, int fractionDigits) {
    if (!std::isfinite(value)) raise(ErrorKind::BadConversion, "not a finite number");
    std::array<char, 40> buf{};
    std::snprintf(buf.data(), buf.size(), "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buf.data();
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;

    long point = static_cast<long>(exponent) + 1;  // digits before the decimal point
    if (point < 0) {
        digits.insert(0, static_cast<std::size_t>(-point), '0');
        point = 0;
    }
    if (static_cast<std::size_t>(point) > digits.size())
        digits.append(static_cast<std::size_t>(point) - digits.size(), '0');

    const std::size_t keep = static_cast<std::size_t>(point) + static_cast<std::size_t>(fractionDigits);
    if (keep < digits.size()) {
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        if (up) {
            std::size_t i = keep;
            while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                ++point;
            } else {
                ++digits[i - 1];
            }
        }
    } else {
        digits.append(keep - digits.size(), '0');
    }

    Rounded r;
    r.integer = digits.substr(0, static_cast<std::size_t>(point));
    r.fraction = digits.substr(static_cast<std::size_t>(point));
    const auto first = r.integer.find_first_not_of('0');
    r.integer = first == std::string::npos ? std::string() : r.integer.substr(first);
    const bool zero = r.integer.empty() && r.fraction.find_first_not_of('0') == std::string::npos;
    // A negative value that rounds to zero is written without its sign.
    r.negative = value < 0 && !zero;
    return r;
}

std::string group(const std::string& digits, const std::string& separator) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

// The empty pattern: the plain decimal form with up to 15 significant digits
// and no grouping.
std::string plainNumber(double value, const std::string& decimal) {
    Rounded r = roundDecimal(value, 15);
    while (!r.fraction.empty() && r.fraction.back() == '0') r.fraction.pop_back();
    std::string out = r.negative ? "-" : "";
    out += r.integer.empty() ? "0" : r.integer;
    if (!r.fraction.empty()) out += decimal + r.fraction;
    return out;
}

std::string twoDigits(int32_t v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string FormatValue(Regional& regional, double value, std::string_view pattern) {
    const RegionalSettings settings = CurrentRegionalSettings(regional);
    if (pattern.empty()) return plainNumber(value, settings.decimal);

    const NumericPattern p = parsePattern(pattern);
    Rounded r = roundDecimal(value, p.fractionDigits);
    std::string integer = r.integer;
    if (integer.size() < static_cast<std::size_t>(p.minIntegerDigits))
        integer.insert(0, static_cast<std::size_t>(p.minIntegerDigits) - integer.size(), '0');
    if (p.grouping) integer = group(integer, settings.thousands);

    std::string out = r.negative ? "-" : "";
    out += integer;
    if (p.hasPoint) {
        while (!r.fraction.empty() && r.fraction.back() == '0') r.fraction.pop_back();
        out += settings.decimal + r.fraction;
    }
    return out;
}

std::string FormatValue(Regional& regional, const DateTime& value, std::string_view pattern) {
    if (value.month < 1 || value.month > 12 || value.day < 1 || value.day > 31)
        raise(ErrorKind::BadConversion, "not a date");
    const RegionalSettings settings = CurrentRegionalSettings(regional, true);
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const char ch = pattern[i];
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == ch) ++run;
        if (ch == 'd' && run <= 2) {
            out += run == 2 ? twoDigits(value.day) : std::to_string(value.day);
        } else if (ch == 'm' && run == 3) {
            out += settings.months[static_cast<std::size_t>(value.month - 1)];
        } else if (ch == 'm' && run <= 2) {
            out += run == 2 ? twoDigits(value.month) : std::to_string(value.month);
        } else if (ch == 'y' && run == 4) {
            std::string y = std::to_string(value.year);
            out += std::string(y.size() < 4 ? 4 - y.size() : 0, '0') + y;
        } else if (ch == 'y' && run == 2) {
            out += twoDigits(value.year % 100);
        } else {
            out.append(run, ch);
        }
        i += run;
    }
    return out;
}

std::string PlainDecimal(int64_t value) { return std::to_string(value); }

}  // namespace si32
