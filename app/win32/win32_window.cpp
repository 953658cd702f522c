#include "app/win32/win32_window.h"

#include <algorithm>
#include <stdexcept>

#include "app/session.h"
#include "app/win32/win32_backdrop.h"
#include "app/win32/win32_frontend.h"
#include "app/win32/win32_meter.h"
#include "app/win32/win32_text.h"
#include "app/win32/window_class.h"
#include "app/win32/windows_api.h"
#include "window/layout.h"

namespace si32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Si32Window";

int screenDpi() {
    const ::HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

Win32Window::Win32Window(Session& session, Win32Frontend& frontend)
    : session_(session), frontend_(frontend), dpi_(screenDpi()) {
    registerWindowClass(kWindowClass, &Win32Window::proc);
    const SIZE outer = outerSize();
    CreateWindowExW(0, kWindowClass, wideText(kWindowCaption).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.cx, outer.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) throw std::runtime_error("the window cannot be created");
    adoptWindowDpi();
    frontend_.owner = window_;
    makeFont();
    build();
    makeTips();
    backdrop_ = std::make_unique<Win32Backdrop>(
        session_.backdrop, frontend_, [this](int32_t left, int32_t top) { return onScreen(left, top); }, outerSize());
    session_.form.OnEnd = [this] { endNow(); };
    sync();
}

Win32Window::~Win32Window() {
    session_.form.OnEnd = nullptr;
    backdrop_.reset();
    frontend_.owner = nullptr;
    if (window_ != nullptr) {
        // The messages of its end find no window object behind it.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (font_ != nullptr) DeleteObject(font_);
}

void Win32Window::sync() {
    for (auto& bound : bound_) syncControl(bound);
}

void Win32Window::syncControl(Bound& bound) {
    const Control& control = session_.form.controls()[bound.control];
    switch (control.kind) {
        case ControlKind::Meter:
            SendMessageW(bound.window, PBM_SETPOS, static_cast<WPARAM>(std::clamp(control.percent, 0, 100)), 0);
            break;
        case ControlKind::DriveList: syncDriveList(); break;
        default: setText(bound, control.text); break;
    }
    if (control.kind == ControlKind::Label && control.autoSize) fitToText(bound);
    // A field that cuts its text carries it whole, as its tooltip.
    const bool cut = isValueField(control) && isCut(bound);
    showTip(bound, cut ? control.text : control.tooltip);
    const bool shown = (GetWindowLongW(bound.window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control.visible) ShowWindow(bound.window, control.visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::setText(Bound& bound, const std::string& text) {
    // Written only when it changes: a text box keeps its scroll position.
    if (bound.shownText == text) return;
    bound.shownText = text;
    SetWindowTextW(bound.window, wideText(text, session_.CodePage).c_str());
}

void Win32Window::syncDriveList() {
    const auto& entries = session_.form.Drive1Entries;
    if (driveEntries_ != entries) {
        driveEntries_ = entries;
        SendMessageW(driveList_, CB_RESETCONTENT, 0, 0);
        for (const auto& entry : driveEntries_) {
            const std::wstring text = wideText(DriveListText(entry), session_.CodePage);
            SendMessageW(driveList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    const auto at = std::find(driveEntries_.begin(), driveEntries_.end(), session_.form.Drive1Current());
    const auto row = at == driveEntries_.end() ? -1 : at - driveEntries_.begin();
    SendMessageW(driveList_, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

LRESULT Win32Window::colourOf(::HDC dc, HWND control) {
    const int index = GetDlgCtrlID(control) - kFirstControlId;
    const auto& controls = session_.form.controls();
    const bool frame = index >= 0 && static_cast<std::size_t>(index) < controls.size() &&
                       controls[static_cast<std::size_t>(index)].kind == ControlKind::Frame;
    if (!frame)
        return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    SetTextColor(dc, readableBlue());
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK Win32Window::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

}  // namespace si32
