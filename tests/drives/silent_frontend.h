#pragma once
// A frontend for runs nobody watches: every message box is answered with OK
// and there is no screen.
#include "platform/ui.h"

namespace si32 {

class SilentFrontend : public Frontend {
public:
    int32_t ShowMessage(std::string_view, int32_t, std::string_view) override { return IDOK; }
    void SetBusyPointer(bool) override {}
    std::optional<ScreenFacts> Screen() override { return std::nullopt; }
};

}  // namespace si32
