#pragma once
// Short, bounded conversations with the X server for the report's screen and
// the desktop panel's state. Every query of a run shares one connection to
// $DISPLAY and runs on a helper thread, so a server that accepts a connection
// and never answers cannot hold the caller past the time limit. Protocol errors
// on these connections (a window that vanished between two requests) never
// end the process: the request that raised one answers as if empty.
//
// libX11 is loaded when the first display is opened, never without $DISPLAY;
// without the library no display opens. Only the functions here call it, so
// a Display* from sharedDisplay is all the rest of the code holds.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/engine/deadline_runner.h"

namespace si32::x11 {

// Long enough for any live server; a dead one costs the caller no more.
inline constexpr std::chrono::milliseconds kQueryLimit{2000};

// Loads libX11 now: false when it, or a function used here, is missing.
bool libraryLoads();

// The runner every query goes through: one that is still stuck on a server
// makes the next one for that display fail at once instead of stacking up
// blocked threads.
DeadlineRunner& queryRunner();

// The connection to the display of that name that the run's queries share:
// opened at the first, checked by one round trip before each later one and
// opened anew when its server has gone. nullptr when it cannot be opened.
// Only the query runner's thread uses it.
Display* sharedDisplay(const std::string& name);

// Runs ask on the display of that name ($DISPLAY) within kQueryLimit.
// nullopt when the name is empty, the display cannot be opened, ask has no
// answer, or the answer is late. ask runs on a helper thread and must own
// what it uses.
template <class T>
std::optional<T> query(const std::string& name, std::function<std::optional<T>(Display*)> ask) {
    if (name.empty()) return std::nullopt;
    return queryRunner().run<T>(name, [display = name, ask]() -> std::optional<T> {
        Display* d = sharedDisplay(display);
        if (d == nullptr) return std::nullopt;
        return ask(d);
    });
}

// The root window's size as the server has it now (the library keeps the
// size the connection was opened with).
std::optional<std::pair<int, int>> rootSize(Display* display);

// The atom of a name the server already knows; None when it never heard of
// it (then no window can carry that property).
Atom knownAtom(Display* display, const char* name);

// The items of a 32-bit property (CARDINAL, ATOM, WINDOW lists); empty when
// the window does not have it or no longer exists.
std::vector<unsigned long> property32(Display* display, Window window, Atom property);

// The bytes of an 8-bit property (STRING, UTF8_STRING); empty when the window
// does not have it or no longer exists.
std::string property8(Display* display, Window window, Atom property);

// The children of a window, bottom first; empty when it no longer exists.
std::vector<Window> children(Display* display, Window window);

// Whether the window is mapped and all its ancestors are.
bool isViewable(Display* display, Window window);

// The resource text the desktop set on the root window (RESOURCE_MANAGER);
// empty when none.
std::string resources(Display* display);

// Frees memory Xlib handed out (a list from an extension's query).
void freeData(void* data);

// Xft.dpi from the resource text the desktop sets on the root window
// ("Xft.dpi:\t96"); nullopt when absent or not a positive number.
std::optional<double> xftDpi(std::string_view resources);

}  // namespace si32::x11
