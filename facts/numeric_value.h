#pragma once
// The numeric value of a text, as the version and build thresholds compare
// it: the leading decimal number (an optional sign, digits and an optional
// decimal point); a text that does not start with one counts as 0.
#include <string_view>

namespace si32 {

double NumericValue(std::string_view text);

}  // namespace si32
