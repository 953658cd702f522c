#pragma once
// Hexadecimal texts of register values, as the registry readers build them
// and the descriptor converts them back.
#include <cstdint>
#include <string>
#include <string_view>

namespace si32::mod {

// Upper-case hexadecimal of a code 0..255: two digits, a leading "0" for
// codes below 16.
std::string hexByte(unsigned char code);

// "&H" followed by 1 to 8 hexadecimal digits (either case), read as a 32-bit
// integer literal: "&HFFFFFFFF" is -1. Raises the bad-conversion error for
// anything else and the overflow error for more than 8 digits.
int32_t hexLiteralToInt32(std::string_view literal);

}  // namespace si32::mod
