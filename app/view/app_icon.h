#pragma once
// The program's icon: the same artwork the desktop shows, read from the
// icon theme directory installed beside the programs.
#include <QIcon>
#include <QString>

namespace si32 {

// The icon's PNG sizes under hicolorDir (".../share/icons/hicolor"); null
// when none is there.
QIcon appIconFrom(const QString& hicolorDir);
// The installed artwork relative to the running program, so a moved
// installation keeps it; else the desktop theme's icon of the same name.
QIcon appIcon();

}  // namespace si32
