#include "platform/host/common/host_ui_x11.h"

#include <X11/Xatom.h>

#include <charconv>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>

#include "platform/host/common/host_read.h"
#include "platform/host/common/shared_library.h"

namespace si32::x11 {
namespace {

struct Xlib {
    static constexpr const char* kSoname = "libX11.so.6";
    SI32_LIBRARY_FUNCTION(XOpenDisplay);
    SI32_LIBRARY_FUNCTION(XCloseDisplay);
    SI32_LIBRARY_FUNCTION(XSetErrorHandler);
    SI32_LIBRARY_FUNCTION(XSetIOErrorExitHandler);
    SI32_LIBRARY_FUNCTION(XInternAtom);
    SI32_LIBRARY_FUNCTION(XGetWindowProperty);
    SI32_LIBRARY_FUNCTION(XQueryTree);
    SI32_LIBRARY_FUNCTION(XGetWindowAttributes);
    SI32_LIBRARY_FUNCTION(XFree);
    SI32_LIBRARY_FUNCTION(XSync);
    SI32_LIBRARY_FUNCTION(XGetGeometry);

    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, XOpenDisplay) && SI32_BIND(library, XCloseDisplay) &&
               SI32_BIND(library, XSetErrorHandler) && SI32_BIND(library, XSetIOErrorExitHandler) &&
               SI32_BIND(library, XInternAtom) && SI32_BIND(library, XGetWindowProperty) &&
               SI32_BIND(library, XQueryTree) && SI32_BIND(library, XGetWindowAttributes) &&
               SI32_BIND(library, XFree) && SI32_BIND(library, XSync) && SI32_BIND(library, XGetGeometry);
    }
};

// Every function below but openDisplay gets a display openDisplay made,
// which exists only once the library was found.
const Xlib& xlib() { return *loadLibraryOnce<Xlib>(); }

// Xlib has one error handler for the whole process; ours passes errors of
// other connections (a toolkit's) on to the handler it replaced.
std::mutex gConnectionsMutex;
std::set<Display*> gConnections;
std::set<Display*> gLost;  // connections whose server went away
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
void survivesLostConnection(Display* display, void*) {
    std::lock_guard lock(gConnectionsMutex);
    gLost.insert(display);
}

// One round trip: false when the server has gone away since the last.
bool answers(Display* display) {
    xlib().XSync(display, False);
    std::lock_guard lock(gConnectionsMutex);
    return !gLost.contains(display);
}

// Each display's connection for the run: a connection costs the server's
// greeting and the library's setup, several times all the questions a run
// asks on it.
std::mutex gSharedMutex;
std::map<std::string, Display*> gShared;

// A new connection to name that tolerates protocol and I/O errors; nullptr
// when libX11 is missing or the display cannot be opened. It lasts the run.
Display* openDisplay(const std::string& name) {
    const Xlib* x = loadLibraryOnce<Xlib>();
    if (x == nullptr) return nullptr;
    static std::once_flag installed;
    std::call_once(installed, [x] { gPreviousHandler = x->XSetErrorHandler(tolerateOwnErrors); });
    Display* display = x->XOpenDisplay(name.c_str());
    if (display == nullptr) return nullptr;
    x->XSetIOErrorExitHandler(display, survivesLostConnection, nullptr);
    std::lock_guard lock(gConnectionsMutex);
    gConnections.insert(display);
    return display;
}

}  // namespace

bool libraryLoads() { return loadLibraryOnce<Xlib>() != nullptr; }

Display* sharedDisplay(const std::string& name) {
    Display* kept = nullptr;
    {
        std::lock_guard lock(gSharedMutex);
        if (const auto it = gShared.find(name); it != gShared.end()) kept = it->second;
    }
    if (kept != nullptr && answers(kept)) return kept;
    // A server that went away, or another one started under the same name,
    // gets a new connection. The dead one is never closed (that would talk
    // to the server again) and stays listed with the others.
    Display* fresh = openDisplay(name);
    std::lock_guard lock(gSharedMutex);
    if (fresh != nullptr) gShared[name] = fresh;
    else gShared.erase(name);
    return fresh;
}

std::optional<std::pair<int, int>> rootSize(Display* display) {
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (xlib().XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border, &depth) == 0)
        return std::nullopt;
    return std::pair{static_cast<int>(width), static_cast<int>(height)};
}

DeadlineRunner& queryRunner() {
    static DeadlineRunner runner(kQueryLimit);
    return runner;
}

Atom knownAtom(Display* display, const char* name) { return xlib().XInternAtom(display, name, True); }

namespace {

// Reads a property of the wanted format and hands its items to take; Xlib
// frees them afterwards.
template <class Take>
void readProperty(Display* display, Window window, Atom property, int wanted, Take take) {
    if (property == None) return;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    // Up to 64 KiB: far beyond any list or name a desktop keeps here.
    const int status = xlib().XGetWindowProperty(display, window, property, 0, 16384, False, AnyPropertyType, &type,
                                                 &format, &count, &remaining, &data);
    if (status == Success && data != nullptr && format == wanted) take(data, count);
    if (data != nullptr) xlib().XFree(data);
}

}  // namespace

std::vector<unsigned long> property32(Display* display, Window window, Atom property) {
    std::vector<unsigned long> items;
    // Xlib hands 32-bit items over as longs.
    readProperty(display, window, property, 32, [&](const unsigned char* data, unsigned long count) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        items.assign(values, values + count);
    });
    return items;
}

std::string property8(Display* display, Window window, Atom property) {
    std::string bytes;
    readProperty(display, window, property, 8, [&](const unsigned char* data, unsigned long count) {
        bytes.assign(reinterpret_cast<const char*>(data), count);
    });
    return bytes;
}

std::vector<Window> children(Display* display, Window window) {
    Window root = 0, parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    std::vector<Window> out;
    if (xlib().XQueryTree(display, window, &root, &parent, &list, &count) != 0 && list != nullptr)
        out.assign(list, list + count);
    if (list != nullptr) xlib().XFree(list);
    return out;
}

bool isViewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return xlib().XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

std::string resources(Display* display) {
    // The root window's property as it is now: the library's copy is the one
    // the connection was opened with, and the connection lasts the run.
    return property8(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER);
}

void freeData(void* data) {
    if (data != nullptr) xlib().XFree(data);
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
