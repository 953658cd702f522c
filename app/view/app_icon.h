#pragma once
// The program's icon: the same artwork the desktop shows, read from the
// icon theme directory installed beside the programs.
#include <QIcon>
#include <QString>
#include <vector>

namespace si32 {

// The icon's PNG sizes under hicolorDir (".../share/icons/hicolor"); null
// when none is there. Each size is decoded when it is first drawn.
QIcon appIconFrom(const QString& hicolorDir);
// The installed artwork relative to the running program, so a moved
// installation keeps it; else the desktop theme's icon of the same name.
QIcon appIcon();

// The artwork's sizes a window's frame shows at this pixel ratio; the
// window icon carries only these, since the display is handed every size
// an icon has.
std::vector<int> FrameIconSizes(double devicePixelRatio);
// appIcon() with only those sizes, for the primary screen.
QIcon frameIcon();

}  // namespace si32
