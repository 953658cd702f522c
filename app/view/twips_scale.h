#pragma once
// Twips (1440 to the inch) against the screen's device-independent pixels, at
// the screen's logical resolution: 15 twips to the pixel at 96 dots per inch.
#include <QRect>
#include <cmath>
#include <cstdint>

#include "window/control.h"

class QScreen;

namespace si32 {

class TwipsScale {
public:
    TwipsScale() = default;
    TwipsScale(double dpiX, double dpiY);
    // The screen's logical resolution; 96 dots per inch without a screen.
    static TwipsScale of(const QScreen* screen);

    double perPixelX() const { return perPixelX_; }
    double perPixelY() const { return perPixelY_; }

    int x(int32_t twips) const { return static_cast<int>(std::lround(twips / perPixelX_)); }
    int y(int32_t twips) const { return static_cast<int>(std::lround(twips / perPixelY_)); }
    int32_t twipsX(int pixels) const { return static_cast<int32_t>(std::lround(pixels * perPixelX_)); }
    int32_t twipsY(int pixels) const { return static_cast<int32_t>(std::lround(pixels * perPixelY_)); }
    QRect rect(const Geometry& g) const { return {x(g.left), y(g.top), x(g.width), y(g.height)}; }

private:
    double perPixelX_ = 15;
    double perPixelY_ = 15;
};

}  // namespace si32
