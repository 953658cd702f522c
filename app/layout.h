#pragma once
// The main window's design: every control with its design-time properties.
#include <span>

#include "app/control.h"

namespace si32 {

inline constexpr const char* kWindowCaption = "Tarvello System Information";
inline constexpr int32_t kClientWidthTwips = 9480;
inline constexpr int32_t kClientHeightTwips = 8280;

// The 90 controls of si9x, in the order the designer wrote them.
std::span<const Control> si9xLayout();

}  // namespace si32
