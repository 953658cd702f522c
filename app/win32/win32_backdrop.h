#pragma once
// The backdrop window si32bg on Windows: an empty window with the main
// window's caption and size, shown, moved and hidden as its model says.
#include <functional>

#include "app/win32/windows_api.h"
#include "window/si32bg.h"

namespace si32 {

class Win32Frontend;

class Win32Backdrop {
public:
    // place: the model's position as a screen point; outer: the window's
    // size with its frame.
    Win32Backdrop(Si32Bg& model, Win32Frontend& frontend, std::function<POINT(int32_t, int32_t)> place, SIZE outer);
    ~Win32Backdrop();
    Win32Backdrop(const Win32Backdrop&) = delete;
    Win32Backdrop& operator=(const Win32Backdrop&) = delete;

    HWND window() const { return window_; }

private:
    void follow();
    void create(POINT at);
    void destroy();
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Si32Bg& model_;
    Win32Frontend& frontend_;
    std::function<POINT(int32_t, int32_t)> place_;
    SIZE outer_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace si32
