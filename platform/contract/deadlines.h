#pragma once
// How long a backend waits on a drive, a mount or a volume before the call
// fails: a dead network server must not hold the report, yet a slow disk
// spinning up still answers within it. Both backends keep to the same limit.
#include <chrono>

namespace si32 {

inline constexpr std::chrono::milliseconds kDriveDeadline{2000};

}  // namespace si32
