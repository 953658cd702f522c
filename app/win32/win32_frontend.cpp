#include "app/win32/win32_frontend.h"

#include "app/win32/win32_text.h"
#include "app/win32/windows_api.h"
#include "platform/platform.h"
#include "window/layout.h"

namespace si32 {

int32_t Win32Frontend::ShowMessage(std::string_view prompt, int32_t style, std::string_view title) {
    shownMessages.emplace_back(prompt);
    const std::wstring caption = title.empty() ? wideText(kWindowCaption) : wideText(title);
    // Only the exclamation style is used; every other style is a plain OK box.
    const UINT icon = style == MB_ICONEXCLAMATION ? MB_ICONEXCLAMATION : 0;
    MessageBoxW(static_cast<HWND>(owner), wideText(prompt).c_str(), caption.c_str(), MB_OK | icon);
    return IDOK;
}

void Win32Frontend::SetBusyPointer(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

std::optional<ScreenFacts> Win32Frontend::Screen() {
    // Measured once: the program reads the screen only while it starts.
    if (!screenAsked_) {
        screen_ = queryDisplayScreen();
        screenAsked_ = true;
    }
    return screen_;
}

}  // namespace si32
