#pragma once
// The report's side of the platform: message boxes are answered with OK and
// kept for the report; the screen is the X11 display when one is reachable.
#include <string>
#include <vector>

#include "platform/ui.h"

namespace si32 {

class ReportFrontend : public Frontend {
public:
    int32_t ShowMessage(std::string_view prompt, int32_t style, std::string_view title) override;
    void SetBusyPointer(bool) override {}
    std::optional<ScreenFacts> Screen() override;

    std::vector<std::string> messages;

private:
    bool screenAsked_ = false;
    std::optional<ScreenFacts> screen_;
};

}  // namespace si32
