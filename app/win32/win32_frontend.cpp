#include "app/win32/win32_frontend.h"

#include "app/win32/win32_text.h"
#include "app/win32/windows_api.h"
#include "window/layout.h"

namespace si32 {

int32_t Win32Frontend::ShowMessage(std::string_view prompt, int32_t style, std::string_view title) {
    ReportFrontend::ShowMessage(prompt, style, title);
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

}  // namespace si32
