#include "format/size_pair.h"

#include "format/format_value.h"

namespace si32 {

SizePair FormatSizePair(Regional& regional, double bytes, double unitStep, std::string_view smallerPattern,
                        std::string_view smallerUnit, std::string_view largerPattern, std::string_view largerUnit) {
    SizePair pair;
    pair.primary = FormatValue(regional, bytes / unitStep, smallerPattern) + std::string(smallerUnit);
    pair.secondary = "(" + FormatValue(regional, bytes / (unitStep * 1024), largerPattern) + std::string(largerUnit);
    return pair;
}

}  // namespace si32
