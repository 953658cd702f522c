#pragma once
// The real screen through X11, for the report, which links no Qt.
#include <optional>

#include "platform/ui.h"

namespace si32 {

// nullopt when no display can be reached.
std::optional<ScreenFacts> queryX11Screen();

}  // namespace si32
