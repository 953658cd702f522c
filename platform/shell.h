#pragma once
// Shell services (shell32).
#include <cstdint>

namespace si32 {

inline constexpr uint32_t ABM_GETSTATE = 4;
inline constexpr uint32_t ABS_AUTOHIDE = 1;
inline constexpr uint32_t ABS_ALWAYSONTOP = 2;

// APPBARDATA; the program passes it all zero, size field included.
struct AppBarData {
    uint32_t cbSize = 0;
    uint32_t hWnd = 0;
    uint32_t uCallbackMessage = 0;
    uint32_t uEdge = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t lParam = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Raises the platform error where the desktop cannot tell.
    virtual uint32_t SHAppBarMessage(uint32_t message, AppBarData& data) = 0;
};

}  // namespace si32
