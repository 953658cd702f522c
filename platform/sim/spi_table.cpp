#include "platform/sim/spi_table.h"


namespace si32::sim {

namespace {

constexpr RecordField kLogFont[] = {
    {"height", 0, FieldKind::Int32},          {"width", 4, FieldKind::Int32},
    {"escapement", 8, FieldKind::Int32},      {"orientation", 12, FieldKind::Int32},
    {"weight", 16, FieldKind::Int32},         {"italic", 20, FieldKind::Byte},
    {"underline", 21, FieldKind::Byte},       {"strike_out", 22, FieldKind::Byte},
    {"char_set", 23, FieldKind::Byte},        {"out_precision", 24, FieldKind::Byte},
    {"clip_precision", 25, FieldKind::Byte},  {"quality", 26, FieldKind::Byte},
    {"pitch_and_family", 27, FieldKind::Byte}, {"face_name", 28, FieldKind::FaceName},
};
constexpr RecordField kIconMetrics[] = {
    {"horizontal_spacing", 4, FieldKind::Int32},
    {"vertical_spacing", 8, FieldKind::Int32},
    {"title_wrap", 12, FieldKind::Int32},
    {"font", 16, FieldKind::Font},
};
constexpr RecordField kAnimation[] = {{"minimize_animation", 4, FieldKind::Int32}};
constexpr RecordField kRect[] = {
    {"left", 0, FieldKind::Int32}, {"top", 4, FieldKind::Int32},
    {"right", 8, FieldKind::Int32}, {"bottom", 12, FieldKind::Int32},
};

const RecordLayout kLayouts[] = {
    {0x1F, 60, false, kLogFont},     // SPI_GETICONTITLELOGFONT: LOGFONT
    {0x2D, 76, true, kIconMetrics},  // SPI_GETICONMETRICS: ICONMETRICS
    {0x30, 16, false, kRect},        // SPI_GETWORKAREA: RECT
    {0x48, 8, true, kAnimation},     // SPI_GETANIMATION: ANIMATIONINFO
};

constexpr SpiSetAction kSetActions[] = {
    {0x06, 0x05, SpiSource::Count, false, -1},               // SPI_SETBORDER
    {0x0D, 0x0D, SpiSource::Spacing, false, 38},             // SPI_ICONHORIZONTALSPACING
    {0x13, 0x12, SpiSource::Count, false, -1},               // SPI_SETGRIDGRANULARITY
    {0x14, kSpiGetDeskWallpaper, SpiSource::Text, false, -1},  // SPI_SETDESKWALLPAPER
    {0x15, 0x15, SpiSource::Refresh, false, -1},             // SPI_SETDESKPATTERN
    {0x18, 0x18, SpiSource::Spacing, false, 39},             // SPI_ICONVERTICALSPACING
    {0x1A, 0x19, SpiSource::Count, true, -1},                // SPI_SETICONTITLEWRAP
    {0x1C, 0x1B, SpiSource::Count, true, -1},                // SPI_SETMENUDROPALIGNMENT
    {0x22, 0x1F, SpiSource::Record, false, -1},              // SPI_SETICONTITLELOGFONT
    {0x25, 0x26, SpiSource::Count, true, -1},                // SPI_SETDRAGFULLWINDOWS
    {0x2E, 0x2D, SpiSource::Record, false, -1},              // SPI_SETICONMETRICS
    {0x2F, 0x30, SpiSource::Record, false, -1},              // SPI_SETWORKAREA
    {0x49, 0x48, SpiSource::Record, false, -1},              // SPI_SETANIMATION
};

}  // namespace

std::optional<SpiSetAction> findSetAction(uint32_t action) {
    for (const SpiSetAction& entry : kSetActions)
        if (entry.set == action) return entry;
    // The user-interface effects (0x1000..0x1FFF) are flags and the
    // 0x2000 range holds numbers; in both, the odd action sets what the
    // even one below it gets, with the new value in the pointer argument.
    if (action >= 0x1000 && action < 0x3000 && (action & 1) != 0)
        return SpiSetAction{action, action - 1, SpiSource::Pointer, action < 0x2000, -1};
    return std::nullopt;
}

const RecordLayout* findRecordLayout(uint32_t getAction) {
    for (const RecordLayout& layout : kLayouts)
        if (layout.getAction == getAction) return &layout;
    return nullptr;
}

const RecordLayout& logFontLayout() { return kLayouts[0]; }

}  // namespace si32::sim
