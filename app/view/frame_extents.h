#pragma once
// The frame the window manager will draw around the program's windows, asked
// before any of them is on the screen: a window placed with a guessed frame
// moves once the real one is known, and the backdrop that stood in for it
// would be left beside it.
#include <QMargins>
#include <QSize>
#include <optional>

namespace si32 {

// The frame, in Qt's pixels, of a fixed dialog window with the given client
// size (_NET_REQUEST_FRAME_EXTENTS); nullopt off X11 or where the window
// manager does not tell.
std::optional<QMargins> askFrameExtents(QSize client);

}  // namespace si32
