// Regional settings from the user's locale, read afresh on every call so a
// change of the environment's locale shows at once.
#include <langinfo.h>
#include <locale.h>

#include <optional>
#include <string>

#include "platform/contract/buffer_conventions.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_locale.h"

namespace si32 {
namespace {

std::optional<std::string> localeText(LCTYPE type) {
    if (type == LOCALE_SDECIMAL) return localeItem(LC_NUMERIC, "LC_NUMERIC", RADIXCHAR);
    if (type == LOCALE_STHOUSAND) return localeItem(LC_NUMERIC, "LC_NUMERIC", THOUSEP);
    if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12)
        return localeItem(LC_TIME, "LC_TIME",
                          static_cast<nl_item>(ABMON_1 + static_cast<int>(type - LOCALE_SABBREVMONTHNAME1)));
    return std::nullopt;
}

}  // namespace

int32_t HostRegional::GetLocaleInfoA(LCTYPE type, std::span<char> buffer) {
    const auto text = localeText(type);
    if (!text) return 0;
    return storeLocaleAnswer(*text, buffer);
}

}  // namespace si32
