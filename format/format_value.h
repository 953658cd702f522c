#pragma once
// FormatValue: the one routine that renders numbers and dates with a pattern,
// using the user's regional separators and month names at the time of the
// call.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/regional.h"

namespace si32 {

// Numeric patterns: "###,###,##0", "###,##0.##", "###,###.##", "###,###,###",
// "###,###,###,###", "#,###", "###,###", "00" and the empty pattern.
std::string FormatValue(Regional& regional, double value, std::string_view pattern);
// The date pattern "dd-mmm-yyyy".
std::string FormatValue(Regional& regional, const DateTime& value, std::string_view pattern);

// Plain decimal conversion: digits without grouping, "-" when negative.
std::string PlainDecimal(int64_t value);

}  // namespace si32
