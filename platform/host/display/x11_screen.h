#pragma once
// The real screen through X11, for the report, which links no Qt.
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/ui.h"

namespace si32 {

// display: its name ($DISPLAY). nullopt when no display can be reached.
std::optional<ScreenFacts> queryX11Screen(const std::string& display);

// Opens and closes one connection to that display within the query limit.
DisplayAnswer probeX11Connection(const std::string& display);

}  // namespace si32
