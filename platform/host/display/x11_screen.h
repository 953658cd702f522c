#pragma once
// The real screen through X11, for the report, which links no Qt.
#include <optional>

#include "platform/platform.h"
#include "platform/ui.h"

namespace si32 {

// nullopt when no display can be reached.
std::optional<ScreenFacts> queryX11Screen();

// Opens and closes one connection to $DISPLAY within the query limit.
DisplayAnswer probeX11Connection();

}  // namespace si32
