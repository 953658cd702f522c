#pragma once
// Qt's keys as the Windows virtual-key codes that the key handlers expect.
#include <cstdint>

class QKeyEvent;

namespace si32 {

// 0 for a key that has no virtual-key code.
int32_t windowsKeyCode(const QKeyEvent& event);

}  // namespace si32
