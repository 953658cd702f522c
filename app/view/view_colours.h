#pragma once
// The colours of the window's design. The window takes the desktop's palette,
// light or dark; the design's blue stays wherever it reads on the face behind
// it and gives way to a lighter blue of its own hue where it would not.
#include <QColor>

namespace si32 {

// RGB(1, 66, 208): frame captions and the meters' fill.
inline const QColor kDesignBlue{1, 66, 208};

// The WCAG contrast ratio of two colours, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

// The design's blue on background if it reads there (4.5:1), else the first
// lighter blue of the same hue that does.
QColor readableBlue(const QColor& background);

// Black or white, whichever reads better on background.
QColor textOn(const QColor& background);

}  // namespace si32
