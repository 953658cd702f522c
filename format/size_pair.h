#pragma once
// A size shown in two neighbouring fields: the smaller unit, then the larger
// one in parentheses.
#include <string>
#include <string_view>

#include "platform/regional.h"

namespace si32 {

struct SizePair {
    std::string primary;    // e.g. "131,072  KB"
    std::string secondary;  // e.g. "(128. MB)"
};

// smaller and larger are the size already divided into each unit.
// smallerUnit: "  KB" or "  MB"; largerUnit: " MB)" or " GB)".
SizePair FormatSizePair(Regional& regional, double smaller, std::string_view smallerPattern,
                        std::string_view smallerUnit, double larger, std::string_view largerPattern,
                        std::string_view largerUnit);

}  // namespace si32
