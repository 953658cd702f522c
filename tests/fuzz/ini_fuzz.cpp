// The INI reader over any file text, section, key, default and buffer size:
// it never writes past the buffer, always ends the answer with a NUL and
// counts exactly the characters before it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "platform/engine/ini_reader.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// Splits off the next field, ended by a NUL byte.
std::string_view field(std::string_view& rest) {
    std::size_t end = rest.find('\0');
    std::string_view f = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // Byte 0: buffer size (0 to 255, and 1024 when it is 255); byte 1: bit 0
    // says the file is missing. Then section, key and default, each ended by
    // a NUL, then the file's text.
    const std::size_t bufferSize = data[0] == 255 ? 1024 : data[0];
    const bool missing = (data[1] & 1) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::string_view section = field(rest);
    std::string_view key = field(rest);
    std::string_view dflt = field(rest);

    // Exactly the stated size on the heap, so a write past it is caught.
    auto buffer = std::make_unique<char[]>(bufferSize == 0 ? 1 : bufferSize);
    std::span<char> span(buffer.get(), bufferSize);
    std::optional<std::string_view> file;
    if (!missing) file = rest;
    uint32_t count = si32::GetPrivateProfileStringFromText(file, section, key, dflt, span);
    if (bufferSize == 0) {
        check(count == 0);
        return 0;
    }
    check(count < bufferSize);
    check(span[count] == '\0');
    for (uint32_t i = 0; i < count; ++i) check(span[i] != '\0');
    return 0;
}
