// Regional settings from the user's locale, as the environment named it when
// the backend started.
#include <langinfo.h>
#include <locale.h>

#include <optional>
#include <string>

#include "platform/contract/buffer_conventions.h"
#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_locale.h"

namespace si32 {
namespace {

std::optional<std::string> localeText(HostLocale& locale, LCTYPE type) {
    if (type == LOCALE_SDECIMAL) return locale.Item(LC_NUMERIC, "LC_NUMERIC", RADIXCHAR);
    if (type == LOCALE_STHOUSAND) return locale.Item(LC_NUMERIC, "LC_NUMERIC", THOUSEP);
    if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12)
        return locale.Item(LC_TIME, "LC_TIME",
                           static_cast<nl_item>(ABMON_1 + static_cast<int>(type - LOCALE_SABBREVMONTHNAME1)));
    return std::nullopt;
}

}  // namespace

HostRegional::HostRegional(const HostContext& context) : locale_(context.environment) {}

int32_t HostRegional::GetLocaleInfoA(LCTYPE type, std::span<char> buffer) {
    const auto text = localeText(locale_, type);
    if (!text) return 0;
    return storeLocaleAnswer(*text, buffer);
}

}  // namespace si32
