#include "platform/sim/spi_table.h"

#include "platform/spi.h"


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
    {SPI_GETICONTITLELOGFONT, SpiLogFont::kSize, false, kLogFont},
    {SPI_GETICONMETRICS, SpiIconMetrics::kSize, true, kIconMetrics},
    {SPI_GETWORKAREA, SpiRect::kSize, false, kRect},
    {SPI_GETANIMATION, SpiAnimationInfo::kSize, true, kAnimation},
};

constexpr SpiSetAction kSetActions[] = {
    {SPI_SETBORDER, SPI_GETBORDER, SpiSource::Count, false, -1},
    {SPI_ICONHORIZONTALSPACING, SPI_ICONHORIZONTALSPACING, SpiSource::Spacing, false, 38},
    {SPI_SETGRIDGRANULARITY, SPI_GETGRIDGRANULARITY, SpiSource::Count, false, -1},
    {SPI_SETDESKWALLPAPER, SPI_GETDESKWALLPAPER, SpiSource::Text, false, -1},
    {SPI_SETDESKPATTERN, SPI_SETDESKPATTERN, SpiSource::Refresh, false, -1},
    {SPI_ICONVERTICALSPACING, SPI_ICONVERTICALSPACING, SpiSource::Spacing, false, 39},
    {SPI_SETICONTITLEWRAP, SPI_GETICONTITLEWRAP, SpiSource::Count, true, -1},
    {SPI_SETMENUDROPALIGNMENT, SPI_GETMENUDROPALIGNMENT, SpiSource::Count, true, -1},
    {SPI_SETICONTITLELOGFONT, SPI_GETICONTITLELOGFONT, SpiSource::Record, false, -1},
    {SPI_SETDRAGFULLWINDOWS, SPI_GETDRAGFULLWINDOWS, SpiSource::Count, true, -1},
    {SPI_SETICONMETRICS, SPI_GETICONMETRICS, SpiSource::Record, false, -1},
    {SPI_SETWORKAREA, SPI_GETWORKAREA, SpiSource::Record, false, -1},
    {SPI_SETANIMATION, SPI_GETANIMATION, SpiSource::Record, false, -1},
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
