#pragma once
// Regional settings (GetLocaleInfoA): separators and month names of the
// user's locale, read at the time of each call.
#include <cstdint>
#include <span>

namespace si32 {

using LCTYPE = uint32_t;
inline constexpr LCTYPE LOCALE_SDECIMAL = 0x0E;
inline constexpr LCTYPE LOCALE_STHOUSAND = 0x0F;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x44;  // ...through 0x4F for December

class Regional {
public:
    virtual ~Regional() = default;
    // Characters written including the NUL; with an empty buffer, the size
    // needed; 0 when the buffer is too small or the type unknown.
    virtual int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) = 0;
};

}  // namespace si32
