#pragma once
// ScreenInfo's members as data, in slot order: which system metric or which
// SystemParametersInfoA actions each one uses, and which version guard it
// passes on reading and on writing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/spi.h"

namespace si32::screen_info {

// A: the system must be of level 5 (NT 5.x or the later Windows 95 line).
// B: the system must be NT 5.x.
enum class Guard : uint8_t { None, A, B };

enum class Member : uint8_t {
    DesktopWallpaper,
    MenuAnimation,
    MenuFade,
    ComboBoxAnimation,
    ListboxSmoothScrolling,
    GradientCaptions,
    MenuKeysAlwaysUnderlined,
    HotTracking,
    SelectionFade,
    TooltipAnimation,
    TooltipFade,
    UIEffects,
    ForegroundLockTimeOut,
    ForegroundFlashCount,
    ScreenX,
    ScreenY,
    IconSizeX,
    IconSizeY,
    CaptionBarButtonX,
    CaptionBarButtonY,
    FullScreenX,
    FullScreenY,
    IconSpacingX,
    IconSpacingY,
    MaximizedX,
    MaximizedY,
    MaxTrackX,
    MaxTrackY,
    MenuCheckX,
    MenuCheckY,
    MinimumX,
    MinimumY,
    MinimizedX,
    MinimizedY,
    MinSpacingX,
    MinSpacingY,
    MinTrackX,
    MinTrackY,
    PenWindows,
    VirtualScreenX,
    VirtualScreenY,
    VirtualScreenWidth,
    VirtualScreenHeight,
    MonitorCount,
    SameDisplayFormat,
    SmallIconX,
    SmallIconY,
    KanjiWindow,
    CaptionHeight,
    WindowBorderX,
    WindowBorderY,
    VerticalScrollX,
    VerticalScrollY,
    HorizontalScrollX,
    HorizontalScrollY,
    FixedBorderX,
    FixedBorderY,
    ThumbX,
    ThumbY,
    MenuHeight,
    SizingBorderX,
    SizingBorderY,
    Border3DX,
    Border3DY,
    SmallCaption,
    CaptionButtonX,
    CaptionButtonY,
    MenuBarButtonsX,
    MenuBarButtonsY,
    BorderMultiplier,
    MinAnimation,
    SetDeskPattern,
    DragFullWindows,
    GridGranularity,
    IconHorizontalSpacing,
    IconVerticalSpacing,
    IconTitleWrap,
    MenuFontName,
    IconFontName,
    IconFontSize,
    MenuDropAlignment,
    GetWorkarea,
    SetWorkArea,
    Count
};

inline constexpr int32_t kNoMetric = -1;
inline constexpr uint32_t kNoAction = 0;

struct MemberEntry {
    Member member;
    std::string_view name;
    int32_t metric;      // GetSystemMetrics index read, or kNoMetric
    uint32_t getAction;  // SystemParametersInfoA action read, or kNoAction
    uint32_t setAction;  // SystemParametersInfoA action written, or kNoAction
    Guard readGuard;
    Guard writeGuard;
};

namespace detail {
using enum Member;
using G = Guard;
constexpr MemberEntry metric(Member m, std::string_view n, int32_t index, Guard g = G::None) {
    return {m, n, index, kNoAction, kNoAction, g, g};
}
constexpr MemberEntry parameter(Member m, std::string_view n, uint32_t get, uint32_t set, Guard g = G::None) {
    return {m, n, kNoMetric, get, set, g, g};
}
}  // namespace detail

inline constexpr std::array<MemberEntry, static_cast<std::size_t>(Member::Count)> kMembers = [] {
    using namespace detail;
    return std::array<MemberEntry, static_cast<std::size_t>(Member::Count)>{{
        {DesktopWallpaper, "DesktopWallpaper", kNoMetric, SPI_GETDESKWALLPAPER, SPI_SETDESKWALLPAPER, G::B, G::None},
        parameter(MenuAnimation, "MenuAnimation", SPI_GETMENUANIMATION, SPI_SETMENUANIMATION, G::A),
        parameter(MenuFade, "MenuFade", SPI_GETMENUFADE, SPI_SETMENUFADE, G::B),
        parameter(ComboBoxAnimation, "ComboBoxAnimation", SPI_GETCOMBOBOXANIMATION, SPI_SETCOMBOBOXANIMATION, G::A),
        parameter(ListboxSmoothScrolling, "ListboxSmoothScrolling", SPI_GETLISTBOXSMOOTHSCROLLING,
                  SPI_SETLISTBOXSMOOTHSCROLLING, G::A),
        parameter(GradientCaptions, "GradientCaptions", SPI_GETGRADIENTCAPTIONS, SPI_SETGRADIENTCAPTIONS, G::A),
        parameter(MenuKeysAlwaysUnderlined, "MenuKeysAlwaysUnderlined", SPI_GETKEYBOARDCUES, SPI_SETKEYBOARDCUES, G::A),
        parameter(HotTracking, "HotTracking", SPI_GETHOTTRACKING, SPI_SETHOTTRACKING, G::A),
        parameter(SelectionFade, "SelectionFade", SPI_GETSELECTIONFADE, SPI_SETSELECTIONFADE, G::B),
        parameter(TooltipAnimation, "TooltipAnimation", SPI_GETTOOLTIPANIMATION, SPI_SETTOOLTIPANIMATION, G::B),
        parameter(TooltipFade, "TooltipFade", SPI_GETTOOLTIPFADE, SPI_SETTOOLTIPFADE, G::B),
        parameter(UIEffects, "UIEffects", SPI_GETUIEFFECTS, SPI_SETUIEFFECTS, G::B),
        parameter(ForegroundLockTimeOut, "ForegroundLockTimeOut", SPI_GETFOREGROUNDLOCKTIMEOUT,
                  SPI_SETFOREGROUNDLOCKTIMEOUT, G::A),
        parameter(ForegroundFlashCount, "ForegroundFlashCount", SPI_GETFOREGROUNDFLASHCOUNT,
                  SPI_SETFOREGROUNDFLASHCOUNT, G::A),
        metric(ScreenX, "ScreenX", 0),
        metric(ScreenY, "ScreenY", 1),
        metric(IconSizeX, "IconSizeX", 11),
        metric(IconSizeY, "IconSizeY", 12),
        metric(CaptionBarButtonX, "CaptionBarButtonX", 30),
        metric(CaptionBarButtonY, "CaptionBarButtonY", 31),
        metric(FullScreenX, "FullScreenX", 16),
        metric(FullScreenY, "FullScreenY", 17),
        metric(IconSpacingX, "IconSpacingX", 38),
        metric(IconSpacingY, "IconSpacingY", 39),
        metric(MaximizedX, "MaximizedX", 61),
        metric(MaximizedY, "MaximizedY", 62),
        metric(MaxTrackX, "MaxTrackX", 59),
        metric(MaxTrackY, "MaxTrackY", 60),
        metric(MenuCheckX, "MenuCheckX", 71),
        metric(MenuCheckY, "MenuCheckY", 72),
        metric(MinimumX, "MinimumX", 28),
        metric(MinimumY, "MinimumY", 29),
        metric(MinimizedX, "MinimizedX", 57),
        metric(MinimizedY, "MinimizedY", 58),
        metric(MinSpacingX, "MinSpacingX", 47),
        metric(MinSpacingY, "MinSpacingY", 48),
        metric(MinTrackX, "MinTrackX", 34),
        metric(MinTrackY, "MinTrackY", 35),
        metric(PenWindows, "PenWindows", 41),
        metric(VirtualScreenX, "VirtualScreenX", 76, G::A),
        metric(VirtualScreenY, "VirtualScreenY", 77, G::A),
        metric(VirtualScreenWidth, "VirtualScreenWidth", 78, G::A),
        metric(VirtualScreenHeight, "VirtualScreenHeight", 79, G::A),
        metric(MonitorCount, "MonitorCount", 80, G::A),
        metric(SameDisplayFormat, "SameDisplayFormat", 81, G::A),
        metric(SmallIconX, "SmallIconX", 49),
        metric(SmallIconY, "SmallIconY", 50),
        metric(KanjiWindow, "KanjiWindow", 18),
        metric(CaptionHeight, "CaptionHeight", 4),
        metric(WindowBorderX, "WindowBorderX", 5),
        metric(WindowBorderY, "WindowBorderY", 6),
        metric(VerticalScrollX, "VerticalScrollX", 2),
        metric(VerticalScrollY, "VerticalScrollY", 20),
        metric(HorizontalScrollX, "HorizontalScrollX", 21),
        metric(HorizontalScrollY, "HorizontalScrollY", 3),
        metric(FixedBorderX, "FixedBorderX", 7),
        metric(FixedBorderY, "FixedBorderY", 8),
        metric(ThumbX, "ThumbX", 10),
        metric(ThumbY, "ThumbY", 9),
        metric(MenuHeight, "MenuHeight", 15),
        metric(SizingBorderX, "SizingBorderX", 32),
        metric(SizingBorderY, "SizingBorderY", 33),
        metric(Border3DX, "Border3DX", 45),
        metric(Border3DY, "Border3DY", 46),
        metric(SmallCaption, "SmallCaption", 51),
        metric(CaptionButtonX, "CaptionButtonX", 52),
        metric(CaptionButtonY, "CaptionButtonY", 53),
        metric(MenuBarButtonsX, "MenuBarButtonsX", 54),
        metric(MenuBarButtonsY, "MenuBarButtonsY", 55),
        parameter(BorderMultiplier, "BorderMultiplier", SPI_GETBORDER, SPI_SETBORDER),
        parameter(MinAnimation, "MinAnimation", SPI_GETANIMATION, SPI_SETANIMATION),
        parameter(SetDeskPattern, "SetDeskPattern", kNoAction, SPI_SETDESKPATTERN),
        parameter(DragFullWindows, "DragFullWindows", SPI_GETDRAGFULLWINDOWS, SPI_SETDRAGFULLWINDOWS),
        parameter(GridGranularity, "GridGranularity", SPI_GETGRIDGRANULARITY, SPI_SETGRIDGRANULARITY),
        {IconHorizontalSpacing, "IconHorizontalSpacing", 38, kNoAction, SPI_ICONHORIZONTALSPACING, G::None, G::None},
        {IconVerticalSpacing, "IconVerticalSpacing", 39, kNoAction, SPI_ICONVERTICALSPACING, G::None, G::None},
        parameter(IconTitleWrap, "IconTitleWrap", SPI_GETICONTITLEWRAP, SPI_SETICONTITLEWRAP),
        parameter(MenuFontName, "MenuFontName", SPI_GETICONTITLELOGFONT, kNoAction),
        parameter(IconFontName, "IconFontName", SPI_GETICONTITLELOGFONT, SPI_SETICONTITLELOGFONT),
        parameter(IconFontSize, "IconFontSize", SPI_GETICONTITLELOGFONT, SPI_SETICONTITLELOGFONT),
        parameter(MenuDropAlignment, "MenuDropAlignment", SPI_GETMENUDROPALIGNMENT, SPI_SETMENUDROPALIGNMENT),
        parameter(GetWorkarea, "GetWorkarea", SPI_GETWORKAREA, kNoAction),
        parameter(SetWorkArea, "SetWorkArea", SPI_GETWORKAREA, SPI_SETWORKAREA),
    }};
}();

// Each row sits at its member's position, so a lookup is an index.
inline constexpr bool kMembersInSlotOrder = [] {
    for (std::size_t i = 0; i < kMembers.size(); ++i)
        if (static_cast<std::size_t>(kMembers[i].member) != i) return false;
    return true;
}();
static_assert(kMembersInSlotOrder, "kMembers must list every member in slot order");

constexpr const MemberEntry& entryOf(Member m) { return kMembers[static_cast<std::size_t>(m)]; }

}  // namespace si32::screen_info
