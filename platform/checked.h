#pragma once
// Checked conversions and arithmetic that raise the overflow error instead of
// wrapping, as the program's 16- and 32-bit integer variables do.
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/run_time_error.h"

namespace si32 {

template <class To, class From>
To checkedCast(From value) {
    bool fits = false;
    if constexpr (std::is_integral_v<From>) {
        fits = std::in_range<To>(value);
    } else {
        // The upper bound is 2^digits, exact in floating point, where the
        // largest value of To is not (INT64_MAX rounds up to 2^63).
        const From limit = static_cast<From>(std::numeric_limits<To>::max() / 2 + 1) * 2;
        fits = value >= static_cast<From>(std::numeric_limits<To>::min()) && value < limit;
    }
    if (!fits) raise(ErrorKind::Overflow, "overflow converting " + std::to_string(value));
    return static_cast<To>(value);
}

// Truncating division; by zero, and the one quotient that does not fit
// (INT32_MIN / -1), raise instead of trapping.
inline int32_t checkedDiv32(int32_t a, int32_t b) {
    if (b == 0) raise(ErrorKind::Overflow, "division by zero");
    if (a == std::numeric_limits<int32_t>::min() && b == -1) raise(ErrorKind::Overflow, "overflow in 32-bit quotient");
    return a / b;
}

inline int32_t checkedMul32(int32_t a, int32_t b) {
    int32_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) raise(ErrorKind::Overflow, "overflow in 32-bit product");
    return r;
}

}  // namespace si32
