#pragma once
// The class ScreenInfo: display metrics and desktop parameters as named
// properties. Reading asks the platform at that moment; writing changes the
// setting system-wide and stores it in the user profile. Only the system's
// version is kept, read once at creation, to refuse members the running
// system does not offer (see ScreenInfoError and RaiseErrors).
//
// A platform call that fails raises nothing: a reading answers what its
// zeroed variable holds (0, False, empty text) and a setter reports nothing.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/kernel.h"
#include "platform/ui.h"
#include "screeninfo/screen_info_error.h"
#include "screeninfo/screen_info_members.h"

namespace si32 {

class ScreenInfo {
public:
    ScreenInfo(Kernel& kernel, Ui& ui);

    // True: a member the system does not offer raises ScreenInfoError.
    // False: it does nothing, a reading answering 0, False or "".
    bool RaiseErrors = true;

    std::string DesktopWallpaper();
    void SetDesktopWallpaper(std::string_view BitmapFileName);
    bool MenuAnimation() { return flag(screen_info::Member::MenuAnimation); }
    void SetMenuAnimation(bool State) { setViaPointer(screen_info::Member::MenuAnimation, State ? -1 : 0); }
    bool MenuFade() { return flag(screen_info::Member::MenuFade); }
    void SetMenuFade(bool State) { setViaPointer(screen_info::Member::MenuFade, State ? -1 : 0); }
    bool ComboBoxAnimation() { return flag(screen_info::Member::ComboBoxAnimation); }
    void SetComboBoxAnimation(bool State) { setViaPointer(screen_info::Member::ComboBoxAnimation, State ? -1 : 0); }
    bool ListboxSmoothScrolling() { return flag(screen_info::Member::ListboxSmoothScrolling); }
    void SetListboxSmoothScrolling(bool State) {
        setViaPointer(screen_info::Member::ListboxSmoothScrolling, State ? -1 : 0);
    }
    bool GradientCaptions() { return flag(screen_info::Member::GradientCaptions); }
    void SetGradientCaptions(bool State) { setViaPointer(screen_info::Member::GradientCaptions, State ? -1 : 0); }
    bool MenuKeysAlwaysUnderlined() { return flag(screen_info::Member::MenuKeysAlwaysUnderlined); }
    void SetMenuKeysAlwaysUnderlined(bool State) {
        setViaPointer(screen_info::Member::MenuKeysAlwaysUnderlined, State ? -1 : 0);
    }
    bool HotTracking() { return flag(screen_info::Member::HotTracking); }
    void SetHotTracking(bool State) { setViaPointer(screen_info::Member::HotTracking, State ? -1 : 0); }
    bool SelectionFade() { return flag(screen_info::Member::SelectionFade); }
    void SetSelectionFade(bool State) { setViaPointer(screen_info::Member::SelectionFade, State ? -1 : 0); }
    bool TooltipAnimation() { return flag(screen_info::Member::TooltipAnimation); }
    void SetTooltipAnimation(bool State) { setViaPointer(screen_info::Member::TooltipAnimation, State ? -1 : 0); }
    bool TooltipFade() { return flag(screen_info::Member::TooltipFade); }
    void SetTooltipFade(bool State) { setViaPointer(screen_info::Member::TooltipFade, State ? -1 : 0); }
    bool UIEffects() { return flag(screen_info::Member::UIEffects); }
    void SetUIEffects(bool State) { setViaPointer(screen_info::Member::UIEffects, State ? -1 : 0); }
    int32_t ForegroundLockTimeOut() { return value(screen_info::Member::ForegroundLockTimeOut); }
    void SetForegroundLockTimeOut(int32_t MilliSecs) {
        setViaPointer(screen_info::Member::ForegroundLockTimeOut, MilliSecs);
    }
    int32_t ForegroundFlashCount() { return value(screen_info::Member::ForegroundFlashCount); }
    void SetForegroundFlashCount(int32_t Count) { setViaPointer(screen_info::Member::ForegroundFlashCount, Count); }

    int32_t ScreenX() { return metric(screen_info::Member::ScreenX); }
    int32_t ScreenY() { return metric(screen_info::Member::ScreenY); }
    int32_t IconSizeX() { return metric(screen_info::Member::IconSizeX); }
    int32_t IconSizeY() { return metric(screen_info::Member::IconSizeY); }
    int32_t CaptionBarButtonX() { return metric(screen_info::Member::CaptionBarButtonX); }
    int32_t CaptionBarButtonY() { return metric(screen_info::Member::CaptionBarButtonY); }
    int32_t FullScreenX() { return metric(screen_info::Member::FullScreenX); }
    int32_t FullScreenY() { return metric(screen_info::Member::FullScreenY); }
    int32_t IconSpacingX() { return metric(screen_info::Member::IconSpacingX); }
    int32_t IconSpacingY() { return metric(screen_info::Member::IconSpacingY); }
    int32_t MaximizedX() { return metric(screen_info::Member::MaximizedX); }
    int32_t MaximizedY() { return metric(screen_info::Member::MaximizedY); }
    int32_t MaxTrackX() { return metric(screen_info::Member::MaxTrackX); }
    int32_t MaxTrackY() { return metric(screen_info::Member::MaxTrackY); }
    int32_t MenuCheckX() { return metric(screen_info::Member::MenuCheckX); }
    int32_t MenuCheckY() { return metric(screen_info::Member::MenuCheckY); }
    int32_t MinimumX() { return metric(screen_info::Member::MinimumX); }
    int32_t MinimumY() { return metric(screen_info::Member::MinimumY); }
    int32_t MinimizedX() { return metric(screen_info::Member::MinimizedX); }
    int32_t MinimizedY() { return metric(screen_info::Member::MinimizedY); }
    int32_t MinSpacingX() { return metric(screen_info::Member::MinSpacingX); }
    int32_t MinSpacingY() { return metric(screen_info::Member::MinSpacingY); }
    int32_t MinTrackX() { return metric(screen_info::Member::MinTrackX); }
    int32_t MinTrackY() { return metric(screen_info::Member::MinTrackY); }
    bool PenWindows() { return metric(screen_info::Member::PenWindows) != 0; }
    int32_t VirtualScreenX() { return metric(screen_info::Member::VirtualScreenX); }
    int32_t VirtualScreenY() { return metric(screen_info::Member::VirtualScreenY); }
    int32_t VirtualScreenWidth() { return metric(screen_info::Member::VirtualScreenWidth); }
    int32_t VirtualScreenHeight() { return metric(screen_info::Member::VirtualScreenHeight); }
    int32_t MonitorCount() { return metric(screen_info::Member::MonitorCount); }
    bool SameDisplayFormat() { return metric(screen_info::Member::SameDisplayFormat) != 0; }
    int32_t SmallIconX() { return metric(screen_info::Member::SmallIconX); }
    int32_t SmallIconY() { return metric(screen_info::Member::SmallIconY); }
    int32_t KanjiWindow() { return metric(screen_info::Member::KanjiWindow); }
    int32_t CaptionHeight() { return metric(screen_info::Member::CaptionHeight); }
    int32_t WindowBorderX() { return metric(screen_info::Member::WindowBorderX); }
    int32_t WindowBorderY() { return metric(screen_info::Member::WindowBorderY); }
    int32_t VerticalScrollX() { return metric(screen_info::Member::VerticalScrollX); }
    int32_t VerticalScrollY() { return metric(screen_info::Member::VerticalScrollY); }
    int32_t HorizontalScrollX() { return metric(screen_info::Member::HorizontalScrollX); }
    int32_t HorizontalScrollY() { return metric(screen_info::Member::HorizontalScrollY); }
    int32_t FixedBorderX() { return metric(screen_info::Member::FixedBorderX); }
    int32_t FixedBorderY() { return metric(screen_info::Member::FixedBorderY); }
    int32_t ThumbX() { return metric(screen_info::Member::ThumbX); }
    int32_t ThumbY() { return metric(screen_info::Member::ThumbY); }
    int32_t MenuHeight() { return metric(screen_info::Member::MenuHeight); }
    int32_t SizingBorderX() { return metric(screen_info::Member::SizingBorderX); }
    int32_t SizingBorderY() { return metric(screen_info::Member::SizingBorderY); }
    int32_t Border3DX() { return metric(screen_info::Member::Border3DX); }
    int32_t Border3DY() { return metric(screen_info::Member::Border3DY); }
    int32_t SmallCaption() { return metric(screen_info::Member::SmallCaption); }
    int32_t CaptionButtonX() { return metric(screen_info::Member::CaptionButtonX); }
    int32_t CaptionButtonY() { return metric(screen_info::Member::CaptionButtonY); }
    int32_t MenuBarButtonsX() { return metric(screen_info::Member::MenuBarButtonsX); }
    int32_t MenuBarButtonsY() { return metric(screen_info::Member::MenuBarButtonsY); }

    int32_t BorderMultiplier() { return value(screen_info::Member::BorderMultiplier); }
    void SetBorderMultiplier(int32_t Value);
    bool MinAnimation();
    void SetMinAnimation(bool Animate);
    // The platform re-reads the desktop pattern from its settings.
    void SetDeskPattern();
    // The low 16 bits as the platform answers them: 1 when on, not -1.
    int16_t DragFullWindows();
    void SetDragFullWindows(bool DragOn) { setViaCount(screen_info::Member::DragFullWindows, DragOn ? -1 : 0); }
    void SetGridGranularity(int32_t Value) { setViaCount(screen_info::Member::GridGranularity, Value); }
    // The low 16 bits, sign-extended.
    int32_t GridGranularity();
    int32_t IconHorizontalSpacing() { return metric(screen_info::Member::IconHorizontalSpacing); }
    void SetIconHorizontalSpacing(int32_t Value) { setSpacing(screen_info::Member::IconHorizontalSpacing, Value); }
    int32_t IconVerticalSpacing() { return metric(screen_info::Member::IconVerticalSpacing); }
    void SetIconVerticalSpacing(int32_t Value) { setSpacing(screen_info::Member::IconVerticalSpacing, Value); }
    bool IconTitleWrap() { return flag(screen_info::Member::IconTitleWrap); }
    void SetIconTitleWrap(bool Value) { setViaCount(screen_info::Member::IconTitleWrap, Value ? -1 : 0); }
    std::string MenuFontName() { return IconFontName(); }
    std::string IconFontName();
    // At most 31 bytes of the name are stored, never splitting a character.
    void SetIconFontName(std::string_view Value);
    // Points at the display's vertical resolution. Raises the overflow error
    // when the size does not fit its type.
    int16_t IconFontSize();
    void SetIconFontSize(int16_t Value);
    void SetMenuDropAlignment(bool Value) { setViaCount(screen_info::Member::MenuDropAlignment, Value ? -1 : 0); }
    bool MenuDropAlignment() { return flag(screen_info::Member::MenuDropAlignment); }
    void GetWorkarea(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom);
    // Omitted sides keep their current value.
    void SetWorkArea(std::optional<int32_t> Left = std::nullopt, std::optional<int32_t> top = std::nullopt,
                     std::optional<int32_t> right = std::nullopt, std::optional<int32_t> bottom = std::nullopt);

private:
    // False when the member must not run: raises the class error instead
    // while RaiseErrors is True.
    bool passes(screen_info::Guard guard, screen_info::Member member);
    bool mayRead(screen_info::Member m) { return passes(screen_info::entryOf(m).readGuard, m); }
    bool mayWrite(screen_info::Member m) { return passes(screen_info::entryOf(m).writeGuard, m); }

    // The platform calls; one that raises counts as one that failed.
    int32_t metricCall(int32_t index);
    bool spiCall(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni);
    // CreateICA("DISPLAY") / GetDeviceCaps(LOGPIXELSY) / DeleteDC; 0 when
    // the display does not tell.
    int32_t displayDpiY();

    int32_t metric(screen_info::Member m);
    bool flag(screen_info::Member m) { return value(m) != 0; }
    int32_t value(screen_info::Member m);
    void setViaPointer(screen_info::Member m, int32_t v);
    void setViaCount(screen_info::Member m, int32_t v);
    // As setViaCount, but with a null pointer: given an address, the spacing
    // actions would read the spacing into it and change nothing.
    void setSpacing(screen_info::Member m, int32_t v);

    Ui& ui_;
    OsVersionInfoA versionInfo_{};
    int32_t osLevel_ = 0;
    bool isNT5_ = false;
};

}  // namespace si32
