// Placeholder until the INI engine lands: every lookup answers 0.
#include "platform/engine/ini_reader.h"

namespace si32 {

uint32_t GetPrivateProfileStringFromText(std::optional<std::string_view>, std::string_view, std::string_view,
                                         std::string_view, std::span<char> buffer) {
    if (!buffer.empty()) buffer[0] = '\0';
    return 0;
}

}  // namespace si32
