#pragma once
// The window's side of the platform on Windows: real message boxes and the
// hourglass over the program's windows; the screen is measured as the
// report measures it.
#include <string_view>

#include "app/report_frontend.h"

namespace si32 {

class Win32Frontend : public ReportFrontend {
public:
    // Keeps the prompt in messages, as the report does, and shows it.
    int32_t ShowMessage(std::string_view prompt, int32_t style, std::string_view title) override;
    void SetBusyPointer(bool busy) override;

    // The program's windows ask this on every pointer move (WM_SETCURSOR):
    // a cursor set once lasts only until the next one.
    bool busy() const { return busy_; }
    // The window that owns the message boxes, once there is one.
    void* owner = nullptr;

private:
    bool busy_ = false;
};

}  // namespace si32
