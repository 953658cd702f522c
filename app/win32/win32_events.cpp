#include <functional>

#include "app/session.h"
#include "app/startup.h"
#include "app/view_events.h"
#include "app/win32/win32_backdrop.h"
#include "app/win32/win32_frontend.h"
#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"

namespace si32 {
namespace {

// How long a shown window may wait for the desktop to activate it before
// start-up ends without that.
constexpr UINT kActivationGraceMs = 200;
constexpr UINT_PTR kSettleTimer = 1;
// Not in the headers of the oldest Windows the program is built for.
constexpr UINT kDpiChanged = 0x02E0;

}  // namespace

void Win32Window::applyFocus() {
    const auto it = byKey_.find(session_.form.Focused);
    if (it != byKey_.end()) SetFocus(it->second);
}

void Win32Window::forward(const std::function<void()>& handler, bool focusFromModel) {
    bool focusMoved = false;
    if (!HandleEvent(session_.form, handler, focusMoved)) return;
    sync();
    if (focusFromModel || focusMoved) applyFocus();
}

void Win32Window::pickDrive(int row) {
    forward([&] { PickDrive(session_.form, driveEntries_, row); });
}

void Win32Window::command(int id, int code) {
    const auto& controls = session_.form.controls();
    if (id == IDOK) {
        // Enter presses the button that has the focus, as on the desktop
        // the window was made for.
        const HWND focus = GetFocus();
        if (focus != nullptr && GetParent(focus) == window_ && focus != driveList_)
            if ((GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON) SendMessageW(focus, BM_CLICK, 0, 0);
        return;
    }
    const int index = id - kFirstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= controls.size()) return;
    const ControlKind kind = controls[static_cast<std::size_t>(index)].kind;
    if (kind == ControlKind::Button && code == BN_CLICKED) forward([this] { session_.mod.Command2_Click(); });
    if (kind == ControlKind::DriveList && code == CBN_SELCHANGE)
        pickDrive(static_cast<int>(SendMessageW(driveList_, CB_GETCURSEL, 0, 0)));
}

bool Win32Window::preview(MSG& message) {
    if (window_ == nullptr) return false;
    // Key preview: every key pressed in the window reaches the window's
    // handler before the control that has the focus.
    if (message.message == WM_KEYDOWN && (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
        const auto code = static_cast<int32_t>(message.wParam);
        const bool driveList =
            driveList_ != nullptr && (message.hwnd == driveList_ || IsChild(driveList_, message.hwnd));
        forward([&] { Form_KeyDown(session_, code); });
        if (driveList) forward([&] { Drive1_KeyDown(session_, code); });
        if (session_.form.Ended) return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

void Win32Window::activated() {
    if (!started_) return;
    forward([this] { Form_Activate(session_); }, true);
    settle();
}

void Win32Window::painted() {
    if (painted_) return;
    painted_ = true;
    // Drawn means shown; a desktop that activates the window does so within
    // the grace, one that never does must not keep the backdrop.
    if (!settled_) SetTimer(window_, kSettleTimer, kActivationGraceMs, nullptr);
    if (onFirstPaint) onFirstPaint();
}

void Win32Window::settle() {
    if (settled_ || session_.form.Ended) return;
    settled_ = true;
    KillTimer(window_, kSettleTimer);
    if (!session_.Activated) forward([this] { Form_Activate(session_); }, true);
    if (!session_.form.Ended && onSettled) onSettled();
}

void Win32Window::endNow() {
    // The end is immediate: no window of the program stays on the screen.
    backdrop_.reset();
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(0);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: command(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_ACTIVATE:
            DefWindowProcW(window_, message, wParam, lParam);
            if (LOWORD(wParam) != WA_INACTIVE) activated();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window_, &paint);
            EndPaint(window_, &paint);
            painted();
            return 0;
        }
        case WM_TIMER:
            if (wParam == kSettleTimer) settle();
            return 0;
        case WM_CTLCOLORSTATIC: return colourOf(reinterpret_cast<::HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_SETCURSOR:
            if (!frontend_.busy()) break;
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        case WM_CLOSE: endNow(); return 0;
        case kDpiChanged: dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace si32
