#include "platform/host/kernel/host_locale.h"

#include <iconv.h>
#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace si32 {
namespace {

int maskOf(int category) {
    switch (category) {
        case LC_NUMERIC: return LC_NUMERIC_MASK;
        case LC_TIME: return LC_TIME_MASK;
        case LC_MONETARY: return LC_MONETARY_MASK;
        case LC_ADDRESS: return LC_ADDRESS_MASK;
        default: return LC_ALL_MASK;
    }
}

bool isUtf8(const char* codeset) { return std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0; }

std::optional<std::string> toUtf8(const char* text, const char* codeset) {
    if (isUtf8(codeset) || std::strcmp(codeset, "ANSI_X3.4-1968") == 0) return std::string(text);
    iconv_t converter = ::iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    char* in = const_cast<char*>(text);
    size_t inLeft = std::strlen(text);
    bool ok = true;
    while (inLeft > 0 && ok) {
        char chunk[256];
        char* outPtr = chunk;
        size_t outLeft = sizeof chunk;
        const size_t done = ::iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, sizeof chunk - outLeft);
        ok = done != static_cast<size_t>(-1) || errno == E2BIG;
    }
    ::iconv_close(converter);
    if (!ok) return std::nullopt;
    return out;
}

// newlocale reads the locale's files afresh each time, and the regional
// settings are asked a dozen times for every drive change. So each set of
// categories keeps its locale object for as long as the environment names
// the same locale; a changed name opens the new one at the next call.
class LocaleCache {
public:
    ~LocaleCache() {
        for (const Entry& entry : entries_) ::freelocale(entry.locale);
    }

    // Callers hold mutex() while they use the answer.
    std::mutex& mutex() { return mutex_; }

    // The locale of that name for the categories in mask; one that is not
    // installed reads as "C", as the C library would run in it.
    locale_t get(int mask, const std::string& name) {
        auto entry = entries_.begin();
        while (entry != entries_.end() && entry->mask != mask) ++entry;
        if (entry != entries_.end() && entry->name == name) return entry->locale;
        locale_t locale = ::newlocale(mask, name.c_str(), static_cast<locale_t>(0));
        if (locale == static_cast<locale_t>(0)) locale = ::newlocale(mask, "C", static_cast<locale_t>(0));
        if (locale == static_cast<locale_t>(0)) return locale;
        if (entry == entries_.end()) {
            entries_.push_back({mask, name, locale});
        } else {
            ::freelocale(entry->locale);
            *entry = {mask, name, locale};
        }
        return locale;
    }

private:
    struct Entry {
        int mask;
        std::string name;
        locale_t locale;
    };
    std::mutex mutex_;
    std::vector<Entry> entries_;
};

}  // namespace

std::string environmentLocaleName(const char* categoryVariable) {
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return "C";
}

std::optional<std::string> localeItem(int category, const char* categoryVariable, nl_item item) {
    const std::string name = environmentLocaleName(categoryVariable);
    static LocaleCache cache;
    std::lock_guard lock(cache.mutex());
    // The character set belongs to LC_CTYPE; taking it from the same locale
    // name tells how this category's texts are encoded.
    const locale_t locale = cache.get(maskOf(category) | LC_CTYPE_MASK, name);
    if (locale == static_cast<locale_t>(0)) return std::nullopt;
    return toUtf8(::nl_langinfo_l(item, locale), ::nl_langinfo_l(CODESET, locale));
}

}  // namespace si32
