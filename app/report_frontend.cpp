#include "app/report_frontend.h"

#include "platform/platform.h"

namespace si32 {

int32_t ReportFrontend::ShowMessage(std::string_view prompt, int32_t, std::string_view) {
    messages.emplace_back(prompt);
    return IDOK;
}

std::optional<ScreenFacts> ReportFrontend::Screen() {
    // One connection per run: the screen does not change during a report.
    if (!screenAsked_) {
        screen_ = queryDisplayScreen();
        screenAsked_ = true;
    }
    return screen_;
}

}  // namespace si32
