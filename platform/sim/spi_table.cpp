#include "platform/sim/spi_table.h"

#include "platform/spi.h"

namespace si32::sim {

namespace {

constexpr RecordField kLogFont[] = {
    {"height", 0, FieldKind::Int32},           {"width", 4, FieldKind::Int32},
    {"escapement", 8, FieldKind::Int32},       {"orientation", 12, FieldKind::Int32},
    {"weight", 16, FieldKind::Int32},          {"italic", 20, FieldKind::Byte},
    {"underline", 21, FieldKind::Byte},        {"strike_out", 22, FieldKind::Byte},
    {"char_set", 23, FieldKind::Byte},         {"out_precision", 24, FieldKind::Byte},
    {"clip_precision", 25, FieldKind::Byte},   {"quality", 26, FieldKind::Byte},
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
    {"left", 0, FieldKind::Int32},
    {"top", 4, FieldKind::Int32},
    {"right", 8, FieldKind::Int32},
    {"bottom", 12, FieldKind::Int32},
};

const RecordLayout kLayouts[] = {
    {SPI_GETICONTITLELOGFONT, SpiLogFont::kSize, false, kLogFont},
    {SPI_GETICONMETRICS, SpiIconMetrics::kSize, true, kIconMetrics},
    {SPI_GETWORKAREA, SpiRect::kSize, false, kRect},
    {SPI_GETANIMATION, SpiAnimationInfo::kSize, true, kAnimation},
};

}  // namespace

const RecordLayout* findRecordLayout(uint32_t getAction) {
    for (const RecordLayout& layout : kLayouts)
        if (layout.getAction == getAction) return &layout;
    return nullptr;
}

const RecordLayout& logFontLayout() { return kLayouts[0]; }

}  // namespace si32::sim
