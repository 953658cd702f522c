#include <string>

#include <nlohmann/json.hpp>

#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"

namespace si32 {
namespace {

std::string utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(0, size)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return utf8(text);
}

std::string currentItem(HWND list) {
    const LRESULT row = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (row == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, row, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    return utf8(text);
}

}  // namespace

nlohmann::ordered_json Win32Window::shownControls() const {
    // Read back from the controls themselves, in the report's terms: what
    // the window shows, not what the model holds.
    nlohmann::ordered_json shown = nlohmann::ordered_json::object();
    for (const Bound& bound : bound_) {
        const Control& control = session_.form.controls()[bound.control];
        nlohmann::ordered_json& entry = shown[control.key()];
        switch (control.kind) {
            case ControlKind::Meter: entry["percent"] = SendMessageW(bound.window, PBM_GETPOS, 0, 0); break;
            case ControlKind::DriveList: entry["drive"] = currentItem(bound.window); break;
            default: entry["text"] = windowText(bound.window); break;
        }
        // What the tooltip control was given: it keeps its own copy, which
        // it gives back only in pieces of its choosing.
        if (!bound.shownTip.empty()) entry["tooltip"] = DecodeAnsi(bound.shownTip, session_.CodePage);
        entry["visible"] = (GetWindowLongW(bound.window, GWL_STYLE) & WS_VISIBLE) != 0;
        if (GetFocus() == bound.window) entry["focused"] = true;
    }
    return shown;
}

}  // namespace si32
