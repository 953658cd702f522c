#pragma once
// Where the model's window positions lie on the real screen. The model places
// windows in twips of the screen its platform reports, whose pixels are the
// screen's device pixels; Qt places windows in device-independent pixels, a
// device pixel times the screen's ratio.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <cstdint>

class QScreen;

namespace si32 {

class Ui;

class ScreenPlacement {
public:
    ScreenPlacement() = default;
    // workArea: the real screen's work area in Qt's pixels, empty for none;
    // modelScreen: the size of the screen the model places windows on, in
    // twips, empty where it is not known.
    ScreenPlacement(double twipsPerPixelX, double twipsPerPixelY, double ratio, QRect workArea,
                    QSizeF modelScreen = QSizeF());
    // The model's screen as its platform reports it, on the real screen;
    // where the platform cannot measure its screen, one device-independent
    // pixel counts 15 twips, as the window's design does.
    static ScreenPlacement of(Ui& ui, const QScreen* screen);

    // The model's place (a window's outer top-left corner) in Qt's pixels.
    // The model's screen is laid over the real work area centre on centre:
    // a window the model centres on a simulated screen of any size appears
    // centred on the real one. The window's frame (its outer size) lies in
    // the real work area when it fits there, and otherwise starts at its
    // top-left corner, so the title bar is always reachable.
    QPoint toScreen(int32_t left, int32_t top, QSize frame) const;
    // A length in Qt's pixels as the model's twips.
    int32_t twipsX(int pixels) const;
    int32_t twipsY(int pixels) const;

private:
    double perPixelX_ = 15;
    double perPixelY_ = 15;
    double ratio_ = 1;
    QRect workArea_;
    QSizeF modelScreen_;
};

// Where the compositor alone decides window positions (xdg-shell): a
// client cannot place its windows.
bool compositorPlacesWindows();

}  // namespace si32
