#pragma once
// The window's font: the desktop's own font at the design's eight points
// (times zoom where the whole window is drawn smaller), narrowed just enough
// that every fixed row caption fits its design width.
#include <QFont>
#include <span>

#include "app/view/twips_scale.h"
#include "window/control.h"

namespace si32 {

inline constexpr double kDialogFontPoints = 8;

QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale, double zoom = 1);

}  // namespace si32
