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
        fits = value >= static_cast<From>(std::numeric_limits<To>::min()) &&
               value <= static_cast<From>(std::numeric_limits<To>::max());
    }
    if (!fits) raise(ErrorKind::Overflow, "overflow converting " + std::to_string(value));
    return static_cast<To>(value);
}

inline int32_t checkedMul32(int32_t a, int32_t b) {
    int32_t r = 0;
    if (__builtin_mul_overflow(a, b, &r)) raise(ErrorKind::Overflow, "overflow in 32-bit product");
    return r;
}

}  // namespace si32
