#pragma once
// The desktop facts a capture asks for beyond what the run asked: every
// metric and parameter a caller may read, asked the way a getter asks.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/ui.h"

namespace si32::capture {

struct DesktopQuestion {
    int32_t metric = -1;     // a GetSystemMetrics index, or -1
    uint32_t getAction = 0;  // a SystemParametersInfoA get action, or 0
};

// One get action asked the way a getter asks: the bytes of the caller's
// memory afterwards, or nullopt when the call failed.
std::optional<std::vector<std::byte>> AskParameter(Ui& ui, uint32_t action);

// Also asks the display's vertical density, which font sizes in points need.
void AskDesktopFacts(Ui& ui, std::span<const DesktopQuestion> questions);

}  // namespace si32::capture
