#pragma once
// A window the X server fills by itself. While the load step runs, no event
// reaches the program, so Qt cannot paint a window that it has just shown;
// the X server paints a window's own background colour without the program
// as soon as the desktop maps the window.
class QWidget;

namespace si32 {

// Gives the native window (created here if need be) the palette's window
// colour as its X background. Nothing on other window systems. Create only
// after the first move: Qt places a window created earlier by its inside.
void setServerBackground(QWidget& window);

}  // namespace si32
