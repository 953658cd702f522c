#include "app/win32/win32_placement.h"

#include <algorithm>
#include <cmath>

#include "app/win32/windows_api.h"
#include "platform/guarded.h"

namespace si32 {
namespace {

constexpr double kDesignTwipsPerPixel = 15;

double positive(double v, double otherwise) { return std::isfinite(v) && v > 0 ? v : otherwise; }

int clampInto(long at, long length, long from, long room) {
    if (room <= 0) return static_cast<int>(at);
    return static_cast<int>(std::clamp(at, from, from + std::max(0L, room - length)));
}

}  // namespace

ScreenMap ScreenMap::of(Ui& ui) {
    ScreenMap map;
    ScreenTwips twips;
    guarded([&] { twips = ui.Screen(); });
    map.perPixelX_ = positive(twips.twipsPerPixelX, kDesignTwipsPerPixel);
    map.perPixelY_ = positive(twips.twipsPerPixelY, kDesignTwipsPerPixel);
    map.modelWidth_ = twips.width;
    map.modelHeight_ = twips.height;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &map.work_, 0)) map.work_ = {};
    return map;
}

bool ScreenMap::isThisScreen() const {
    return std::lround(modelWidth_ / perPixelX_) == GetSystemMetrics(SM_CXSCREEN) &&
           std::lround(modelHeight_ / perPixelY_) == GetSystemMetrics(SM_CYSCREEN);
}

POINT ScreenMap::toScreen(int32_t left, int32_t top, SIZE outer) const {
    const long roomX = work_.right - work_.left, roomY = work_.bottom - work_.top;
    // The model centres on this screen's work area itself (its taskbar and
    // all) when its screen is this one: its place is the place.
    const bool known = modelWidth_ > 0 && modelHeight_ > 0 && roomX > 0 && roomY > 0 && !isThisScreen();
    const double originX = known ? work_.left + roomX / 2.0 - modelWidth_ / 2 / perPixelX_ : 0;
    const double originY = known ? work_.top + roomY / 2.0 - modelHeight_ / 2 / perPixelY_ : 0;
    const long x = std::lround(originX + left / perPixelX_);
    const long y = std::lround(originY + top / perPixelY_);
    return {clampInto(x, outer.cx, work_.left, roomX), clampInto(y, outer.cy, work_.top, roomY)};
}

int32_t ScreenMap::twipsX(int pixels) const { return static_cast<int32_t>(std::lround(pixels * perPixelX_)); }

int32_t ScreenMap::twipsY(int pixels) const { return static_cast<int32_t>(std::lround(pixels * perPixelY_)); }

}  // namespace si32
