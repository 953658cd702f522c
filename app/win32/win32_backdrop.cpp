#include "app/win32/win32_backdrop.h"

#include "app/win32/win32_frontend.h"
#include "app/win32/win32_text.h"
#include "app/win32/window_class.h"
#include "app/win32/windows_api.h"
#include "window/layout.h"

namespace si32 {
namespace {

constexpr wchar_t kBackdropClass[] = L"Si32Backdrop";

}  // namespace

Win32Backdrop::Win32Backdrop(Si32Bg& model, Win32Frontend& frontend, std::function<POINT(int32_t, int32_t)> place,
                             SIZE outer)
    : model_(model), frontend_(frontend), place_(std::move(place)), outer_(outer) {
    registerWindowClass(kBackdropClass, &Win32Backdrop::proc);
    model_.Changed = [this] { follow(); };
}

Win32Backdrop::~Win32Backdrop() {
    model_.Changed = nullptr;
    destroy();
}

void Win32Backdrop::create(POINT at) {
    // Owned by a window that is never shown, the backdrop stays out of the
    // taskbar, where the user should see one program, the main window; a
    // tool window would do so too, but with a smaller title bar than the
    // window it stands in for.
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (owner_ == nullptr)
        owner_ = CreateWindowExW(0, kBackdropClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    window_ = CreateWindowExW(0, kBackdropClass, wideText(kWindowCaption).c_str(), WS_CAPTION | WS_SYSMENU, at.x, at.y,
                              outer_.cx, outer_.cy, owner_, nullptr, instance, nullptr);
    if (window_ != nullptr) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32Backdrop::destroy() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (owner_ != nullptr) DestroyWindow(owner_);
    window_ = owner_ = nullptr;
}

void Win32Backdrop::follow() {
    if (!model_.Loaded) {
        destroy();
        return;
    }
    const POINT at = place_(model_.Left, model_.Top);
    if (window_ == nullptr) create(at);
    if (window_ == nullptr) return;
    SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool shown = IsWindowVisible(window_) != FALSE;
    if (model_.Visible != shown) ShowWindow(window_, model_.Visible ? SW_SHOWNA : SW_HIDE);
    // The load step does not yield: the backdrop draws now or not at all.
    if (model_.Visible) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

LRESULT CALLBACK Win32Backdrop::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* self = reinterpret_cast<const Win32Backdrop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_SETCURSOR && self != nullptr && self->frontend_.busy()) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
    }
    // Closing it is the program's business, not the user's.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace si32
