#include "platform/contract/spi_actions.h"

#include "platform/spi.h"

namespace si32 {
namespace {

constexpr int32_t SM_CXICONSPACING = 38;
constexpr int32_t SM_CYICONSPACING = 39;

// clang-format off
constexpr SpiSetAction kSetActions[] = {
    // set                          get                            source               boolean metric            profile value
    {SPI_SETBORDER,                 SPI_GETBORDER,                 SpiSource::Count,    false, -1,               "BorderWidth"},
    {SPI_ICONHORIZONTALSPACING,     SPI_ICONHORIZONTALSPACING,     SpiSource::Spacing,  false, SM_CXICONSPACING, "IconSpacing"},
    {SPI_SETGRIDGRANULARITY,        SPI_GETGRIDGRANULARITY,        SpiSource::Count,    false, -1,               "GridGranularity"},
    {SPI_SETDESKWALLPAPER,          SPI_GETDESKWALLPAPER,          SpiSource::Text,     false, -1,               "Wallpaper"},
    {SPI_SETDESKPATTERN,            SPI_SETDESKPATTERN,            SpiSource::Refresh,  false, -1,               ""},
    {SPI_ICONVERTICALSPACING,       SPI_ICONVERTICALSPACING,       SpiSource::Spacing,  false, SM_CYICONSPACING, "IconVerticalSpacing"},
    {SPI_SETICONTITLEWRAP,          SPI_GETICONTITLEWRAP,          SpiSource::Count,    true,  -1,               "IconTitleWrap"},
    {SPI_SETMENUDROPALIGNMENT,      SPI_GETMENUDROPALIGNMENT,      SpiSource::Count,    true,  -1,               "MenuDropAlignment"},
    {SPI_SETICONTITLELOGFONT,       SPI_GETICONTITLELOGFONT,       SpiSource::Record,   false, -1,               ""},
    {SPI_SETDRAGFULLWINDOWS,        SPI_GETDRAGFULLWINDOWS,        SpiSource::Count,    true,  -1,               "DragFullWindows"},
    {SPI_SETICONMETRICS,            SPI_GETICONMETRICS,            SpiSource::Record,   false, -1,               ""},
    {SPI_SETWORKAREA,               SPI_GETWORKAREA,               SpiSource::Record,   false, -1,               ""},
    {SPI_SETANIMATION,              SPI_GETANIMATION,              SpiSource::Record,   false, -1,               ""},
    {SPI_SETMENUANIMATION,          SPI_GETMENUANIMATION,          SpiSource::Pointer,  true,  -1,               "MenuAnimation"},
    {SPI_SETCOMBOBOXANIMATION,      SPI_GETCOMBOBOXANIMATION,      SpiSource::Pointer,  true,  -1,               "ComboBoxAnimation"},
    {SPI_SETLISTBOXSMOOTHSCROLLING, SPI_GETLISTBOXSMOOTHSCROLLING, SpiSource::Pointer,  true,  -1,               "ListBoxSmoothScrolling"},
    {SPI_SETGRADIENTCAPTIONS,       SPI_GETGRADIENTCAPTIONS,       SpiSource::Pointer,  true,  -1,               "GradientCaptions"},
    {SPI_SETKEYBOARDCUES,           SPI_GETKEYBOARDCUES,           SpiSource::Pointer,  true,  -1,               "KeyboardCues"},
    {SPI_SETHOTTRACKING,            SPI_GETHOTTRACKING,            SpiSource::Pointer,  true,  -1,               "HotTracking"},
    {SPI_SETMENUFADE,               SPI_GETMENUFADE,               SpiSource::Pointer,  true,  -1,               "MenuFade"},
    {SPI_SETSELECTIONFADE,          SPI_GETSELECTIONFADE,          SpiSource::Pointer,  true,  -1,               "SelectionFade"},
    {SPI_SETTOOLTIPANIMATION,       SPI_GETTOOLTIPANIMATION,       SpiSource::Pointer,  true,  -1,               "TooltipAnimation"},
    {SPI_SETTOOLTIPFADE,            SPI_GETTOOLTIPFADE,            SpiSource::Pointer,  true,  -1,               "TooltipFade"},
    {SPI_SETUIEFFECTS,              SPI_GETUIEFFECTS,              SpiSource::Pointer,  true,  -1,               "UIEffects"},
    {SPI_SETFOREGROUNDLOCKTIMEOUT,  SPI_GETFOREGROUNDLOCKTIMEOUT,  SpiSource::Pointer,  false, -1,               "ForegroundLockTimeout"},
    {SPI_SETFOREGROUNDFLASHCOUNT,   SPI_GETFOREGROUNDFLASHCOUNT,   SpiSource::Pointer,  false, -1,               "ForegroundFlashCount"},
};
// clang-format on

}  // namespace

std::optional<SpiSetAction> findSetAction(uint32_t action) {
    for (const SpiSetAction& entry : kSetActions)
        if (entry.set == action) return entry;
    // The user-interface effects (0x1000..0x1FFF) are flags and the
    // 0x2000 range holds numbers; in both, the odd action sets what the
    // even one below it gets, with the new value in the pointer argument.
    if (action >= 0x1000 && action < 0x3000 && (action & 1) != 0)
        return SpiSetAction{action, action - 1, SpiSource::Pointer, action < 0x2000, -1, ""};
    return std::nullopt;
}

const SpiSetAction* findProfileAction(uint32_t action, bool& isSet) {
    for (const SpiSetAction& entry : kSetActions) {
        if (entry.profileValue.empty()) continue;
        if (entry.get == action) {
            isSet = false;
            return &entry;
        }
        if (entry.set == action) {
            isSet = true;
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace si32
