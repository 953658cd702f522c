#pragma once
// The window's font: the desktop's own font at the design's eight points
// (times zoom where the whole window is drawn smaller), narrowed just enough
// that every fixed row caption fits its design width.
#include <QFont>
#include <QString>
#include <span>

#include "app/view/twips_scale.h"
#include "window/control.h"

namespace si32 {

inline constexpr double kDialogFontPoints = 8;

// Where the fits of earlier starts are kept (the user's cache folder), or
// empty where there is none.
QString dialogFontCacheFile();

// cacheFile empty: fitted afresh, nothing kept.
QFont dialogFont(std::span<const Control> controls, const TwipsScale& scale, double zoom = 1,
                 const QString& cacheFile = dialogFontCacheFile());

}  // namespace si32
