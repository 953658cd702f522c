#include "format/regional_settings.h"

#include <array>

#include "platform/guarded.h"

namespace si32 {
namespace {

void read(Regional& regional, LCTYPE type, std::string& into) {
    std::array<char, 80> buffer{};
    guarded([&] {
        const int32_t n = regional.GetLocaleInfoA(type, buffer);
        // The count includes the NUL.
        if (n > 0) into.assign(buffer.data(), static_cast<std::size_t>(n - 1));
    });
}

}  // namespace

RegionalSettings CurrentRegionalSettings(Regional& regional, bool withMonths) {
    RegionalSettings s;
    read(regional, LOCALE_SDECIMAL, s.decimal);
    read(regional, LOCALE_STHOUSAND, s.thousands);
    if (!withMonths) return s;
    for (std::size_t m = 0; m < 12; ++m) read(regional, LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(m), s.months[m]);
    return s;
}

}  // namespace si32
