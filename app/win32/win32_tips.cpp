#include <string>

#include "app/win32/win32_text.h"
#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"

namespace si32 {
namespace {

// Wider tooltips break into lines.
constexpr int32_t kTipWidthTwips = 6000;

TOOLINFOW toolFor(HWND window, HWND control) {
    TOOLINFOW info{};
    // The common controls of every Windows take this size; the larger one
    // of newer headers only their version 6.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

}  // namespace

void Win32Window::makeTips() {
    // Machine texts are shown as they are: an ampersand is no access key.
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (tips_ != nullptr) SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, px(kTipWidthTwips));
}

void Win32Window::showTip(Bound& bound, const std::string& tip) {
    if (tips_ == nullptr || bound.shownTip == tip) return;
    TOOLINFOW info = toolFor(window_, bound.window);
    // The tooltip control keeps a copy of the text.
    std::wstring text = wideText(tip, session_.CodePage);
    info.lpszText = text.data();
    if (bound.shownTip.empty()) SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    else if (tip.empty()) SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    else SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    bound.shownTip = tip;
}

}  // namespace si32
