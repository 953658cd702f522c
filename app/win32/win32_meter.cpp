#include "app/win32/win32_meter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/win32/windows_api.h"

namespace si32 {
namespace {

constexpr wchar_t kOriginalProc[] = L"Si32.Meter.Proc";
constexpr double kReadable = 4.5;

// WCAG relative luminance.
double luminance(COLORREF c) {
    const auto channel = [](int v) {
        const double f = v / 255.0;
        return f <= 0.03928 ? f / 12.92 : std::pow((f + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

double contrast(COLORREF a, COLORREF b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int towards(int from, int to, int step) { return from + (to - from) * step / 100; }

COLORREF textOn(COLORREF background) {
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    return contrast(white, background) >= contrast(black, background) ? white : black;
}

void drawFigure(::HDC dc, HWND meter, const RECT& inner, LONG fillEnd, int percent, COLORREF blue) {
    const std::wstring figure = std::to_wstring(percent) + L"%";
    LOGFONTW face{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(meter, WM_GETFONT, 0, 0)), sizeof face, &face);
    face.lfWeight = FW_BOLD;
    const HFONT bold = CreateFontIndirectW(&face);
    const HGDIOBJ before = SelectObject(dc, bold);
    SetBkMode(dc, TRANSPARENT);
    // The fill's colour on the empty part and black or white on the fill,
    // so that the figure reads wherever the fill ends.
    for (const bool onFill : {false, true}) {
        const int saved = SaveDC(dc);
        if (onFill) IntersectClipRect(dc, inner.left, inner.top, fillEnd, inner.bottom);
        else IntersectClipRect(dc, fillEnd, inner.top, inner.right, inner.bottom);
        SetTextColor(dc, onFill ? textOn(blue) : blue);
        RECT area = inner;
        DrawTextW(dc, figure.c_str(), static_cast<int>(figure.size()), &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        RestoreDC(dc, saved);
    }
    SelectObject(dc, before);
    DeleteObject(bold);
}

// Drawn here whatever the desktop's theme would draw: the design's sunken
// bar, its blue fill and the figure over both.
void paintMeter(::HDC dc, HWND meter) {
    RECT inner{};
    GetClientRect(meter, &inner);
    DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
    const int percent = std::clamp(static_cast<int>(SendMessageW(meter, PBM_GETPOS, 0, 0)), 0, 100);
    const LONG fillEnd = inner.left + (inner.right - inner.left) * percent / 100;
    const COLORREF blue = readableBlue();
    const HBRUSH fill = CreateSolidBrush(blue);
    const RECT filled{inner.left, inner.top, fillEnd, inner.bottom};
    FillRect(dc, &filled, fill);
    DeleteObject(fill);
    drawFigure(dc, meter, inner, fillEnd, percent, blue);
}

LRESULT CALLBACK meterProc(HWND meter, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(meter, kOriginalProc));
    if (original == nullptr) return DefWindowProcW(meter, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropW(meter, kOriginalProc);
        SetWindowLongPtrW(meter, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    if (message == WM_PAINT || message == WM_PRINTCLIENT) {
        PAINTSTRUCT paint{};
        const ::HDC dc = wParam != 0 ? reinterpret_cast<::HDC>(wParam) : BeginPaint(meter, &paint);
        paintMeter(dc, meter);
        if (wParam == 0) EndPaint(meter, &paint);
        return 0;
    }
    // The bar keeps its position and speaks for itself to screen readers.
    return CallWindowProcW(original, meter, message, wParam, lParam);
}

}  // namespace

COLORREF readableBlue() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int step = 0; step <= 100; ++step) {
        const COLORREF blue =
            RGB(towards(GetRValue(kDesignBlue), 255, step), towards(GetGValue(kDesignBlue), 255, step),
                towards(GetBValue(kDesignBlue), 255, step));
        if (contrast(blue, face) >= kReadable) return blue;
    }
    // Only a light face gets here, where the design's blue reads anyway.
    return kDesignBlue;
}

void drawAsMeter(HWND meter) {
    SendMessageW(meter, PBM_SETRANGE32, 0, 100);
    // Subclassed the way every Windows knows: the common controls' own
    // subclassing calls are missing from the oldest ones.
    const LONG_PTR original = GetWindowLongPtrW(meter, GWLP_WNDPROC);
    SetPropW(meter, kOriginalProc, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(meter, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&meterProc));
}

}  // namespace si32
