#include "platform/host/host_ui_x11.h"

#include <X11/Xatom.h>

#include <charconv>
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/host/host_read.h"

namespace si32::x11 {
namespace {

// Xlib has one error handler for the whole process; ours passes errors of
// other connections (a toolkit's) on to the handler it replaced.
std::mutex gConnectionsMutex;
std::set<Display*> gConnections;
XErrorHandler gPreviousHandler = nullptr;

int tolerateOwnErrors(Display* display, XErrorEvent* event) {
    {
        std::lock_guard lock(gConnectionsMutex);
        if (gConnections.contains(display)) return 0;
    }
    return gPreviousHandler != nullptr ? gPreviousHandler(display, event) : 0;
}

// A lost connection would otherwise end the process; returning marks the
// connection dead and every later request on it fails at once.
void survivesLostConnection(Display*, void*) {}

}  // namespace

Display* openDisplay(const std::string& name) {
    static std::once_flag installed;
    std::call_once(installed, [] { gPreviousHandler = XSetErrorHandler(tolerateOwnErrors); });
    Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr) return nullptr;
    XSetIOErrorExitHandler(display, survivesLostConnection, nullptr);
    std::lock_guard lock(gConnectionsMutex);
    gConnections.insert(display);
    return display;
}

void closeDisplay(Display* display) {
    XCloseDisplay(display);
    std::lock_guard lock(gConnectionsMutex);
    gConnections.erase(display);
}

DeadlineRunner& queryRunner() {
    static DeadlineRunner runner(kQueryLimit);
    return runner;
}

Atom knownAtom(Display* display, const char* name) { return XInternAtom(display, name, True); }

std::vector<unsigned long> property32(Display* display, Window window, Atom property) {
    std::vector<unsigned long> items;
    if (property == None) return items;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // Up to 64 KiB of items: far beyond any list a desktop keeps here.
    const int status = XGetWindowProperty(display, window, property, 0, 16384, False, AnyPropertyType, &type,
                                          &format, &count, &remaining, &data);
    if (status == Success && data != nullptr && format == 32) {
        // Xlib hands 32-bit items over as longs.
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data != nullptr) XFree(data);
    return items;
}

std::optional<double> xftDpi(std::string_view resources) {
    for (std::string_view line : splitLines(resources)) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || trimBlanks(line.substr(0, colon)) != "Xft.dpi") continue;
        const std::string_view text = trimBlanks(line.substr(colon + 1));
        double dpi = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), dpi);
        if (error == std::errc() && end == text.data() + text.size() && dpi > 0) return dpi;
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace si32::x11
