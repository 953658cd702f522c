#pragma once
// Keeps a missing display to one clear line instead of Qt's abort: the
// program checks before it starts Qt, and guards Qt's start for a display
// that is named but cannot be reached.
#include <optional>
#include <string>

namespace si32 {

// Why no window can be opened, when that is known before Qt starts: no
// display is named and no Qt platform is chosen.
std::optional<std::string> missingDisplay();

// While it lives, a fatal message from Qt (its platform plugin could not
// connect) prints line on standard error and ends the process with status 1.
// Other messages are held and passed on when the guard ends, so a start that
// succeeds loses nothing.
class DisplayFailureGuard {
public:
    explicit DisplayFailureGuard(std::string line);
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};

// The one line for a display that is named but cannot be reached.
std::string unreachableDisplayLine();

// Why no window can be opened, when the X11 display Qt would connect to
// accepts the connection and does not answer within the time limit: Qt's own
// connection would wait for ever.
std::optional<std::string> silentDisplay();

}  // namespace si32
