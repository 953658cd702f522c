#pragma once
// The colours of the window's design. The window keeps light dialog colours
// whatever the desktop's theme: the design's fixed blue needs a light face
// behind it to stay legible (a dark theme's face would leave it at 1.6:1).
#include <QColor>
#include <QPalette>

namespace si32 {

inline const QColor kFrameCaptionColour{1, 66, 208};
inline const QColor kMeterFillColour{1, 66, 208};

// Black text on a light grey face and white fields.
QPalette classicPalette();

}  // namespace si32
