#pragma once
// The window's font: the desktop's own font at the design's eight points,
// narrowed just enough that every fixed row caption fits its design width.
#include <QFont>
#include <span>

#include "app/control.h"
#include "app/view/twips_scale.h"

namespace si32 {

QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale);

}  // namespace si32
