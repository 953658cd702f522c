#include "app/view/twips_scale.h"

#include <QScreen>

namespace si32 {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kDefaultDpi = 96;

double perPixel(double dpi) {
    // A screen that reports no sensible resolution is taken at the default,
    // so that no geometry divides by zero or turns negative.
    return kTwipsPerInch / (std::isfinite(dpi) && dpi > 0 ? dpi : kDefaultDpi);
}

}  // namespace

TwipsScale::TwipsScale(double dpiX, double dpiY) : perPixelX_(perPixel(dpiX)), perPixelY_(perPixel(dpiY)) {}

TwipsScale TwipsScale::of(const QScreen* screen) {
    if (screen == nullptr) return TwipsScale(kDefaultDpi, kDefaultDpi);
    return TwipsScale(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

}  // namespace si32
