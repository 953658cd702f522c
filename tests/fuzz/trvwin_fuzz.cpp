// Fuzz target: TRVWIN.INI of any content is read field by field in bounded
// time and memory; no field is longer than the cap or holds a NUL, and a
// file of valid UTF-8 gives fields of valid UTF-8 (the cap never cuts a
// character).
#include <cstddef>
#include <cstdint>
#include <string>

#include "facts/texts.h"
#include "facts/trvwin_ini.h"
#include "platform/guarded.h"
#include "tests/facts/string_file.h"

namespace {

bool validUtf8(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n;) {
        const uint8_t lead = p[i];
        const size_t length = lead < 0x80                    ? 1
                              : lead >= 0xC2 && lead <= 0xDF ? 2
                              : lead >= 0xE0 && lead <= 0xEF ? 3
                              : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                             : 0;
        if (length == 0 || i + length > n) return false;
        for (size_t k = 1; k < length; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool utf8 = validUtf8(data, size);
    si32::factstest::StringFile file(std::string(reinterpret_cast<const char*>(data), size));
    si32::TrvwinReader reader(file);
    for (size_t i = 0; i < si32::kTrvwinFieldCount; ++i) {
        std::string field;
        si32::guarded([&] { field = reader.ReadField(); });
        if (field.size() > si32::kTrvwinFieldLimit) __builtin_trap();
        if (field.find('\0') != std::string::npos) __builtin_trap();
        if (utf8 && !validUtf8(reinterpret_cast<const uint8_t*>(field.data()), field.size())) __builtin_trap();
        // What the steps make of the product directory must stay sound too.
        (void)si32::TrimSpaces(si32::UpperCase(field));
    }
    if (file.reads > si32::kTrvwinReadLimit + 1) __builtin_trap();
    return 0;
}
