#pragma once
// The layouts of the records some SystemParametersInfoA actions exchange;
// what each set action does is in platform/contract/spi_actions.h.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/contract/spi_actions.h"
#include "platform/spi.h"

namespace si32::sim {

// One member of a record, for the object form of a parameter.
enum class FieldKind { Int32, Byte, FaceName, Font };
struct RecordField {
    std::string_view name;
    uint32_t offset;
    FieldKind kind;
};

struct RecordLayout {
    uint32_t getAction;
    uint32_t size;
    bool sizeField;  // starts with its own size, which the caller must state
    std::span<const RecordField> fields;
};

const RecordLayout* findRecordLayout(uint32_t getAction);
const RecordLayout& logFontLayout();

// A record that holds another action's record inside it: the icon metrics
// carry the icon-title font, so setting either changes what both read.
struct NestedRecord {
    uint32_t outer;
    uint32_t offset;
    uint32_t inner;
};
inline constexpr NestedRecord kIconMetricsFont{SPI_GETICONMETRICS, SpiIconMetrics::kFontOffset,
                                               SPI_GETICONTITLELOGFONT};

}  // namespace si32::sim
