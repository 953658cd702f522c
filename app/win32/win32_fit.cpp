#include <algorithm>
#include <string>
#include <vector>

#include "app/win32/win32_text.h"
#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"

namespace si32 {
namespace {

// The design's font size; the face is the desktop's own message font.
constexpr int kDialogFontPoints = 8;
// Narrower than this reads badly; a caption that still does not fit ends in
// an ellipsis.
constexpr int kNarrowestPercent = 75;

// The captions that keep their design width whatever their text.
bool isFixedCaption(const Control& c) {
    return c.kind == ControlKind::Label && c.alignment == Align::Right && !c.autoSize;
}

// The size a text takes in font: on one line, or wrapped at width.
SIZE textSize(HFONT font, const std::wstring& text, int width, bool wrap, bool prefixes) {
    const ::HDC dc = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(dc, font);
    RECT area{0, 0, width, 0};
    const UINT format = DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE) | (prefixes ? 0 : DT_NOPREFIX);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, before);
    ReleaseDC(nullptr, dc);
    return {area.right - area.left, std::max<LONG>(area.bottom - area.top, metrics.tmHeight)};
}

int averageWidth(HFONT font) {
    const ::HDC dc = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, before);
    ReleaseDC(nullptr, dc);
    return metrics.tmAveCharWidth;
}

}  // namespace

void Win32Window::makeFont() {
    LOGFONTW face{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) face = metrics.lfMessageFont;
    else GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    // The design's size at this window's density, whatever the desktop's
    // own message font is set to.
    face.lfHeight = -MulDiv(kDialogFontPoints, dpi_, 72);
    face.lfWidth = 0;
    HFONT font = CreateFontIndirectW(&face);
    if (font == nullptr) return;
    // Narrowed just enough that every fixed row caption fits its design
    // width, as the Qt window does with a desktop font wider than the design's.
    std::vector<std::pair<std::wstring, int>> captions;
    for (const Control& c : session_.form.controls())
        if (isFixedCaption(c)) captions.emplace_back(wideText(c.text, session_.CodePage), px(c.geometry.width));
    const auto allFit = [&](HFONT candidate) {
        return std::all_of(captions.begin(), captions.end(), [&](const auto& caption) {
            return textSize(candidate, caption.first, 0, false, true).cx <= caption.second;
        });
    };
    // A font narrows by whole pixels of its average character width.
    const int natural = averageWidth(font);
    const int narrowest = (natural * kNarrowestPercent + 99) / 100;
    for (int width = natural - 1; width >= std::max(1, narrowest) && !allFit(font); --width) {
        face.lfWidth = width;
        const HFONT narrower = CreateFontIndirectW(&face);
        if (narrower == nullptr) break;
        DeleteObject(font);
        font = narrower;
    }
    if (font_ != nullptr) DeleteObject(font_);
    font_ = font;
}

bool Win32Window::isCut(const Bound& bound) const {
    const Control& control = session_.form.controls()[bound.control];
    RECT shown{};
    GetClientRect(bound.window, &shown);
    const SIZE size = textSize(font_, wideText(control.text, session_.CodePage), shown.right, control.wordWrap, false);
    return control.wordWrap ? size.cy > shown.bottom : size.cx > shown.right;
}

void Win32Window::fitToText(const Bound& bound) {
    const Control& control = session_.form.controls()[bound.control];
    const RECT design = placeOf(control);
    const int width = design.right - design.left;
    const SIZE size =
        textSize(font_, wideText(control.text, session_.CodePage), width, control.wordWrap, !isValueField(control));
    const int shownWidth = control.wordWrap ? width : size.cx;
    // A right-aligned caption keeps its right edge, so that it still lines
    // up with the captions above and below it.
    const LONG left = control.alignment == Align::Right ? design.right - shownWidth : design.left;
    SetWindowPos(bound.window, nullptr, left, design.top, shownWidth, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace si32
