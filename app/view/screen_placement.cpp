#include "app/view/screen_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/guarded.h"
#include "platform/ui.h"

namespace si32 {
namespace {

constexpr double kDesignTwipsPerPixel = 15;

double positive(double v, double otherwise) { return std::isfinite(v) && v > 0 ? v : otherwise; }

int clampInto(int at, int length, int from, int room) {
    return room <= 0 ? at : std::clamp(at, from, from + std::max(0, room - length));
}

}  // namespace

ScreenPlacement::ScreenPlacement(double twipsPerPixelX, double twipsPerPixelY, double ratio, QRect workArea,
                                 QSizeF modelScreen)
    : ratio_(positive(ratio, 1)), workArea_(workArea), modelScreen_(modelScreen) {
    perPixelX_ = positive(twipsPerPixelX, kDesignTwipsPerPixel / ratio_);
    perPixelY_ = positive(twipsPerPixelY, kDesignTwipsPerPixel / ratio_);
}

ScreenPlacement ScreenPlacement::of(Ui& ui, const QScreen* screen) {
    const double ratio = screen != nullptr ? screen->devicePixelRatio() : 1;
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect();
    ScreenTwips twips;
    guarded([&] { twips = ui.Screen(); });
    return {twips.twipsPerPixelX, twips.twipsPerPixelY, ratio, work, QSizeF(twips.width, twips.height)};
}

QPoint ScreenPlacement::toScreen(int32_t left, int32_t top, QSize frame) const {
    if (workArea_.isEmpty())
        return {static_cast<int>(std::lround(left / perPixelX_ / ratio_)),
                static_cast<int>(std::lround(top / perPixelY_ / ratio_))};
    // Centre on centre; without the model's screen, origin on origin.
    const bool known = modelScreen_.width() > 0 && modelScreen_.height() > 0;
    const double originX =
        known ? workArea_.left() + workArea_.width() / 2.0 - modelScreen_.width() / 2 / perPixelX_ / ratio_ : 0;
    const double originY =
        known ? workArea_.top() + workArea_.height() / 2.0 - modelScreen_.height() / 2 / perPixelY_ / ratio_ : 0;
    const int x = static_cast<int>(std::lround(originX + left / perPixelX_ / ratio_));
    const int y = static_cast<int>(std::lround(originY + top / perPixelY_ / ratio_));
    return {clampInto(x, frame.width(), workArea_.left(), workArea_.width()),
            clampInto(y, frame.height(), workArea_.top(), workArea_.height())};
}

bool compositorPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

int32_t ScreenPlacement::twipsX(int pixels) const {
    return static_cast<int32_t>(std::lround(pixels * ratio_ * perPixelX_));
}

int32_t ScreenPlacement::twipsY(int pixels) const {
    return static_cast<int32_t>(std::lround(pixels * ratio_ * perPixelY_));
}

}  // namespace si32
