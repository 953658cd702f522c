#pragma once
// GetPrivateProfileStringA over the text of one INI file, as Windows reads
// it: sections and keys without regard to case, blanks around names and the
// value and one pair of enclosing double or single quotes removed, comment
// lines, the value cut to the buffer's size less one, the count without the
// NUL. ini_reader.cpp lists the finer points.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace si32 {

// fileText: nullopt when the file does not exist. A file that opens with a
// UTF-16LE byte-order mark is read as its text in codePage, the code page the
// answer is cut in.
uint32_t GetPrivateProfileStringFromText(std::optional<std::string_view> fileText, std::string_view section,
                                         std::string_view key, std::string_view defaultValue, std::span<char> buffer,
                                         uint32_t codePage = 65001);

}  // namespace si32
