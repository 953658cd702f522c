#include "app/session.h"
#include "app/startup.h"
#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"
#include "window/layout.h"

namespace si32 {
namespace {

// Windows 10's per-window density; the program also runs where it is missing.
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

int windowDpi(HWND window) {
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    const auto call =
        user != nullptr
            ? reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
            : nullptr;
    return call != nullptr ? static_cast<int>(call(window)) : 0;
}

}  // namespace

SIZE Win32Window::outerSize() const {
    RECT outer{0, 0, px(kClientWidthTwips), px(kClientHeightTwips)};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, 0);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void Win32Window::tellOuterSize() {
    const SIZE outer = outerSize();
    session_.form.OuterWidth = screen_.twipsX(outer.cx);
    session_.form.OuterHeight = screen_.twipsY(outer.cy);
}

POINT Win32Window::onScreen(int32_t left, int32_t top) const { return screen_.toScreen(left, top, outerSize()); }

void Win32Window::adoptWindowDpi() {
    const int dpi = windowDpi(window_);
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    const SIZE outer = outerSize();
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::dpiChanged(int dpi, const RECT& suggested) {
    // Moved to a screen of another density: the same design at the new one,
    // where the system suggests.
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    makeFont();
    layout();
    const SIZE outer = outerSize();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

bool Win32Window::start() {
    Si9x& form = session_.form;
    screen_ = ScreenMap::of(session_.platform.ui);
    // Centred with the frame the window really has, the window and the
    // backdrop before it appear where the window stays.
    tellOuterSize();
    Form_Load(session_);
    if (form.Ended || session_.RefusedSecondInstance) return false;
    sync();
    const POINT at = onScreen(form.Left, form.Top);
    SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    started_ = true;
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    return true;
}

}  // namespace si32
