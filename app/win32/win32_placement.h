#pragma once
// Where the model's window positions lie on the real screen. The model places
// windows in twips of the screen its platform reports: this one, or a
// simulated machine's, which is laid over the real work area centre on
// centre, so that a window the model centres there appears centred here.
#include <cstdint>

#include "app/win32/windows_api.h"
#include "platform/ui.h"

namespace si32 {

class ScreenMap {
public:
    ScreenMap() = default;
    // The platform's screen over this system's work area; where the platform
    // cannot measure its screen, a pixel counts 15 twips.
    static ScreenMap of(Ui& ui);

    // The model's place (a window's outer top-left corner) in screen pixels;
    // the outer size keeps the window inside the work area where it fits,
    // its title bar reachable where it does not.
    POINT toScreen(int32_t left, int32_t top, SIZE outer) const;
    int32_t twipsX(int pixels) const;
    int32_t twipsY(int pixels) const;

private:
    // The platform's screen is the real one (not a simulated machine's).
    bool isThisScreen() const;

    double perPixelX_ = 15;
    double perPixelY_ = 15;
    double modelWidth_ = 0;
    double modelHeight_ = 0;
    RECT work_{};
};

}  // namespace si32
