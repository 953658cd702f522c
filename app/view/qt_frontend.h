#pragma once
// The window's side of the platform: real message boxes, the application-wide
// busy pointer and the facts of the real screen, all through Qt.
#include <QMargins>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace si32 {

class QtFrontend : public Frontend {
public:
    ~QtFrontend() override;

    int32_t ShowMessage(std::string_view prompt, int32_t style, std::string_view title) override;
    void SetBusyPointer(bool busy) override;
    std::optional<ScreenFacts> Screen() override;
    int32_t MenuHeight() override;

    // Every prompt shown, in order, as the report lists them.
    std::vector<std::string> shownMessages;

private:
    bool busy_ = false;
    std::optional<ScreenFacts> screen_;
    std::optional<int32_t> menuHeight_;
};

// The border and title bar that the desktop is expected to put around a
// dialog window, from the style's figures: the real ones are known only
// once a window is on the screen.
QMargins expectedFrameMargins();

}  // namespace si32
