#pragma once
// The two colours the window's design sets; everything else follows the
// desktop's palette.
#include <QColor>

namespace si32 {

inline const QColor kFrameCaptionColour{1, 66, 208};
inline const QColor kMeterFillColour{1, 66, 208};

}  // namespace si32
