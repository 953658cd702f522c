#include "format/format_value.h"

namespace si32 {

std::string FormatValue(Regional&, double value, std::string_view) { return std::to_string(value); }
std::string FormatValue(Regional&, const DateTime&, std::string_view) { return {}; }
std::string PlainDecimal(int64_t value) { return std::to_string(value); }

}  // namespace si32
