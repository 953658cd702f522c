#pragma once
// The real Windows machine: every service answered by the Win32 call of its
// name, as thin as the call allows.
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace si32 {

std::unique_ptr<Backend> makeWin32Backend(Frontend& frontend, Program program);

// The folder that holds this program ("" when it cannot be told).
std::string programsDirectory();

// The screen as the desktop reports it.
std::optional<ScreenFacts> queryWin32Screen();

}  // namespace si32
