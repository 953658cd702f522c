#include "platform/host/kernel/host_locale.h"

#include <iconv.h>
#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

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

}  // namespace

std::string environmentLocaleName(const HostEnvironment& environment, const char* categoryVariable) {
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        std::string value = environment.Get(variable);
        if (!value.empty()) return value;
    }
    return "C";
}

HostLocale::~HostLocale() {
    for (const auto& [mask, locale] : opened_)
        if (locale != static_cast<locale_t>(0)) ::freelocale(locale);
}

std::optional<std::string> HostLocale::Item(int category, const char* categoryVariable, nl_item item) {
    // The character set belongs to LC_CTYPE; taking it from the same locale
    // name tells how this category's texts are encoded.
    const int mask = maskOf(category) | LC_CTYPE_MASK;
    std::lock_guard lock(mutex_);
    auto found = opened_.find(mask);
    if (found == opened_.end()) {
        const std::string name = environmentLocaleName(environment_, categoryVariable);
        locale_t locale = ::newlocale(mask, name.c_str(), static_cast<locale_t>(0));
        if (locale == static_cast<locale_t>(0)) locale = ::newlocale(mask, "C", static_cast<locale_t>(0));
        found = opened_.emplace(mask, locale).first;
    }
    if (found->second == static_cast<locale_t>(0)) return std::nullopt;
    return toUtf8(::nl_langinfo_l(item, found->second), ::nl_langinfo_l(CODESET, found->second));
}

}  // namespace si32
