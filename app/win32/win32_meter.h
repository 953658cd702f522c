#pragma once
// A meter: the common progress bar, drawn as the Qt window's meters are, in
// the design's blue with its figure ("55%") over it.
#include "app/win32/windows_api.h"

namespace si32 {

// RGB(1, 66, 208): the design's blue, the meters' fill and the frames' captions.
inline constexpr COLORREF kDesignBlue = RGB(1, 66, 208);

// The design's blue where it reads on the dialog face (4.5:1), else the
// first lighter blue towards white that does: a dark or high-contrast
// desktop keeps the captions and meters legible, as the Qt window does.
COLORREF readableBlue();

// Makes a progress bar created for the model's meter draw so.
void drawAsMeter(HWND meter);

}  // namespace si32
