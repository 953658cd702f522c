#pragma once
// The window's side of the platform on Windows: real message boxes, the
// hourglass over the program's windows and the facts of the real screen.
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace si32 {

class Win32Frontend : public Frontend {
public:
    int32_t ShowMessage(std::string_view prompt, int32_t style, std::string_view title) override;
    void SetBusyPointer(bool busy) override;
    std::optional<ScreenFacts> Screen() override;

    // The program's windows ask this on every pointer move (WM_SETCURSOR):
    // a cursor set once lasts only until the next one.
    bool busy() const { return busy_; }
    // The window that owns the message boxes, once there is one.
    void* owner = nullptr;
    // Every prompt shown, in order.
    std::vector<std::string> shownMessages;

private:
    bool busy_ = false;
    bool screenAsked_ = false;
    std::optional<ScreenFacts> screen_;
};

}  // namespace si32
