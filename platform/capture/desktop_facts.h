#pragma once
// The desktop facts a capture asks for beyond what the run asked: every
// metric and parameter a caller may read, asked the way a getter asks.
#include <cstdint>
#include <span>

#include "platform/ui.h"

namespace si32::capture {

struct DesktopQuestion {
    int32_t metric = -1;     // a GetSystemMetrics index, or -1
    uint32_t getAction = 0;  // a SystemParametersInfoA get action, or 0
};

// Also asks the display's vertical density, which font sizes in points need.
void AskDesktopFacts(Ui& ui, std::span<const DesktopQuestion> questions);

}  // namespace si32::capture
