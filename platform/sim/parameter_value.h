#pragma once
// The value of a display parameter in a machine description: a 32-bit
// integer, a text (the wallpaper), an array of bytes, or, for the actions
// that answer a record, an object naming the record's members.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/sim/description_reader.h"

namespace si32::sim {

std::vector<std::byte> readParameterValue(const DescriptionReader& reader, uint32_t action, const nlohmann::json& node,
                                          std::string_view path);

// Little-endian bytes of a 32-bit value, as the caller's memory holds it.
std::vector<std::byte> bytesOf32(uint32_t value);

}  // namespace si32::sim
