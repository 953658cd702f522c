#include "platform/host/host_locale.h"

#include <iconv.h>
#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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

std::string environmentLocaleName(const char* categoryVariable) {
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return "C";
}

std::optional<std::string> localeItem(int category, const char* categoryVariable, nl_item item) {
    const std::string name = environmentLocaleName(categoryVariable);
    // The character set belongs to LC_CTYPE; taking it from the same locale
    // name tells how this category's texts are encoded.
    locale_t locale = ::newlocale(maskOf(category) | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0))
        locale = ::newlocale(maskOf(category) | LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return std::nullopt;
    auto text = toUtf8(::nl_langinfo_l(item, locale), ::nl_langinfo_l(CODESET, locale));
    ::freelocale(locale);
    return text;
}

}  // namespace si32
