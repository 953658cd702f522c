#pragma once
// A window as it stands on the screen, frame and all, saved as a 24-bit BMP.
#include <string>

#include "app/win32/windows_api.h"

namespace si32 {

// False when the window could not be read or the file not written.
bool saveScreenshot(HWND window, const std::string& file);

}  // namespace si32
