#include "platform/host/x11_screen.h"

namespace si32 {

std::optional<ScreenFacts> queryX11Screen() { return std::nullopt; }

}  // namespace si32
