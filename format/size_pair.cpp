#include "format/size_pair.h"

#include "format/format_value.h"

namespace si32 {

SizePair FormatSizePair(Regional& regional, double smaller, std::string_view smallerPattern,
                        std::string_view smallerUnit, double larger, std::string_view largerPattern,
                        std::string_view largerUnit) {
    SizePair pair;
    pair.primary = FormatValue(regional, smaller, smallerPattern) + std::string(smallerUnit);
    pair.secondary = "(" + FormatValue(regional, larger, largerPattern) + std::string(largerUnit);
    return pair;
}

}  // namespace si32
