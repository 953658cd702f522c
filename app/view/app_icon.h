#pragma once
// The program's icon, painted here: a glossy blue disc bearing a white
// lower-case i.
#include <QIcon>
#include <QPixmap>

namespace si32 {

// One image of the icon, size pixels square.
QPixmap paintAppIcon(int size);
// The icon at 16, 32, 48 and 128 pixels.
QIcon appIcon();

}  // namespace si32
