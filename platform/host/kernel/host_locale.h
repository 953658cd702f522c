#pragma once
// Items of the user's locale as UTF-8 text, the host's single-byte code page.
#include <langinfo.h>
#include <locale.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/host/common/host_context.h"

namespace si32 {

// The locale the environment names for a category (LC_ALL, then the
// category's own variable, then LANG), "C" when none is set.
std::string environmentLocaleName(const HostEnvironment& environment, const char* categoryVariable);

// The locale the environment names, each category's own. newlocale reads the
// locale's files afresh each time, and the regional settings are asked a
// dozen times for every drive change, so each set of categories opens its
// locale once and keeps it for the life of the object.
class HostLocale {
public:
    explicit HostLocale(HostEnvironment environment) : environment_(std::move(environment)) {}
    ~HostLocale();
    HostLocale(const HostLocale&) = delete;
    HostLocale& operator=(const HostLocale&) = delete;

    // One nl_langinfo item, converted to UTF-8 from the locale's own
    // character set. A locale that is not installed reads as "C", as the C
    // library would run in it. nullopt when the text cannot be converted.
    std::optional<std::string> Item(int category, const char* categoryVariable, nl_item item);

private:
    HostEnvironment environment_;
    std::mutex mutex_;
    std::map<int, locale_t> opened_;  // by category mask; none when not even C opens
};

}  // namespace si32
