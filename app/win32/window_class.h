#pragma once
// The window classes of the program's top-level windows.
#include "app/win32/windows_api.h"

namespace si32 {

// The program's icon (app/windows/program.rc) at one of the system's two
// sizes; Windows' own where it is missing.
inline HICON programIcon(int widthMetric, int heightMetric) {
    const auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                    GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
    return icon != nullptr ? icon : LoadIcon(nullptr, IDI_APPLICATION);
}

// A class with the dialog face for background and the program's icon,
// registered once per run.
inline void registerWindowClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = programIcon(SM_CXICON, SM_CYICON);
    wc.hIconSm = programIcon(SM_CXSMICON, SM_CYSMICON);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace si32
