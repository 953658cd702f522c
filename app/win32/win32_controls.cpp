#include <algorithm>
#include <numeric>

#include "app/session.h"
#include "app/win32/win32_meter.h"
#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"
#include "window/layout.h"

namespace si32 {
namespace {

// How many drives the open list shows before it scrolls.
constexpr int kDropDownRows = 8;

DWORD labelStyle(const Control& control) {
    DWORD style = control.alignment == Align::Right ? SS_RIGHT : control.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
    // Told of the pointer, so that its tooltip shows.
    style |= SS_NOTIFY;
    // A value is the machine's text: an ampersand there is a character, not
    // an access key.
    if (isValueField(control)) style |= SS_NOPREFIX;
    // A line too long for its field ends in an ellipsis rather than mid-letter.
    if (!control.wordWrap) style |= SS_ENDELLIPSIS;
    return style;
}

struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

NativeClass nativeClassOf(const Control& control) {
    switch (control.kind) {
        case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
        case ControlKind::Meter: return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
        case ControlKind::Label: return {L"STATIC", labelStyle(control), 0};
        case ControlKind::TextBox:
            return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::DriveList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    }
    return {L"STATIC", 0, 0};
}

}  // namespace

HWND Win32Window::makeControl(const Control& control, int id) {
    const NativeClass native = nativeClassOf(control);
    const DWORD shown = control.visible ? WS_VISIBLE : 0;
    const HWND made =
        CreateWindowExW(native.extendedStyle, native.name, L"", WS_CHILD | shown | native.style, 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (made != nullptr && control.kind == ControlKind::Meter) drawAsMeter(made);
    return made;
}

void Win32Window::build() {
    const auto& controls = session_.form.controls();
    std::vector<std::size_t> order(controls.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Frames first, beneath what they hold; then every control in its tab
    // order, which among siblings is the order Tab and access keys follow.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const bool frameA = controls[a].kind == ControlKind::Frame, frameB = controls[b].kind == ControlKind::Frame;
        if (frameA != frameB) return frameA;
        return controls[a].tabIndex < controls[b].tabIndex;
    });
    for (const std::size_t i : order) {
        const HWND made = makeControl(controls[i], kFirstControlId + static_cast<int>(i));
        if (made == nullptr) continue;
        byKey_.emplace(controls[i].key(), made);
        bound_.push_back({i, made, {}, {}});
        if (controls[i].kind == ControlKind::DriveList) driveList_ = made;
    }
    layout();
}

RECT Win32Window::placeOf(const Control& control) const {
    // A control's place is in its container's client area, and a frame's is
    // all of the frame, as the Qt view has it.
    POINT origin{0, 0};
    for (const Control* at = &control; !at->container.empty();) {
        at = &session_.form.control(at->container);
        origin.x += px(at->geometry.left);
        origin.y += px(at->geometry.top);
    }
    const Geometry& g = control.geometry;
    const LONG left = origin.x + px(g.left), top = origin.y + px(g.top);
    return {left, top, left + px(g.width), top + px(g.height)};
}

void Win32Window::layout() {
    for (const Bound& bound : bound_) {
        const Control& control = session_.form.controls()[bound.control];
        RECT place = placeOf(control);
        // A drop-down list's height is that of its open list.
        if (control.kind == ControlKind::DriveList) place.bottom += (place.bottom - place.top) * kDropDownRows;
        SetWindowPos(bound.window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(bound.window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (control.kind == ControlKind::Label && control.autoSize) fitToText(bound);
    }
}

}  // namespace si32
