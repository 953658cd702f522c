#include "si32mod/hex_text.h"

#include "platform/run_time_error.h"

namespace si32::mod {

std::string hexByte(unsigned char code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[code >> 4], kDigits[code & 0xF]};
}

int32_t hexLiteralToInt32(std::string_view literal) {
    if (literal.size() < 3 || literal[0] != '&' || (literal[1] != 'H' && literal[1] != 'h'))
        raise(ErrorKind::BadConversion, "not a hexadecimal literal: \"" + std::string(literal) + "\"");
    std::string_view digits = literal.substr(2);
    uint32_t value = 0;
    for (char c : digits) {
        int d = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
        if (d < 0) raise(ErrorKind::BadConversion, "not a hexadecimal literal: \"" + std::string(literal) + "\"");
        value = value << 4 | static_cast<uint32_t>(d);
    }
    // Checked after the digits, so that a long text of letters is a bad
    // conversion rather than an overflow.
    if (digits.size() > 8) raise(ErrorKind::Overflow, "hexadecimal literal over 32 bits");
    return static_cast<int32_t>(value);
}

}  // namespace si32::mod
