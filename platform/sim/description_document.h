#pragma once
// A machine description's JSON document, built as it is read so that the
// checks the JSON library does not make (duplicate members, nesting, sizes)
// refuse a hostile file before it costs memory.
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/sim/description_reader.h"

namespace si32::sim {

// Raises through reader, naming the member being read, for malformed JSON
// and for each check.
nlohmann::json readDescriptionDocument(std::string_view jsonText, const DescriptionReader& reader);

}  // namespace si32::sim
