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

// bytes: the size; unitStep: the bytes in the smaller unit (1024 for KB,
// 1048576 for MB), the larger unit being 1024 of those.
// smallerUnit: "  KB" or "  MB"; largerUnit: " MB)" or " GB)".
SizePair FormatSizePair(Regional& regional, double bytes, double unitStep, std::string_view smallerPattern,
                        std::string_view smallerUnit, std::string_view largerPattern, std::string_view largerUnit);

}  // namespace si32
