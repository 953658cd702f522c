#pragma once
// What SystemParametersInfoA does with each action: where a set action takes
// its new value from and which get action answers it afterwards, and the
// layouts of the records some actions exchange.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/spi.h"

namespace si32::sim {

// How a set action carries its new value.
enum class SpiSource {
    Count,    // in the count argument (uiParam)
    Pointer,  // in the pointer argument itself
    Record,   // in caller memory laid out as the get action's record
    Text,     // a NUL-terminated file name in caller memory
    Refresh,  // no value: the system re-reads a setting
    Spacing,  // icon spacing: a get into caller memory, else a set from the count
};

struct SpiSetAction {
    uint32_t set = 0;
    uint32_t get = 0;  // the action that answers the stored value
    SpiSource source = SpiSource::Count;
    bool boolean = false;         // stored as 1 or 0, as the system keeps flags
    int32_t metric = -1;          // Spacing: the system metric it changes
};

std::optional<SpiSetAction> findSetAction(uint32_t action);

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
