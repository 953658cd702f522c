// The report's screen: one bounded conversation with the X server.
#include "platform/host/display/x11_screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/host/common/host_ui_x11.h"
#include "platform/host/common/shared_library.h"

namespace si32 {
namespace {

constexpr double kUnsetDesktopDpi = 96;

struct MonitorRect {
    int x, y, width, height;
};

// The Xinerama view of the monitors, through the system's libXinerama when
// it is installed. Its header is not needed to build (the record and the two
// functions are declared here as the library defines them).
struct XineramaScreenInfo {
    int screen_number;
    short x_org, y_org, width, height;
};

struct Xinerama {
    static constexpr const char* kSoname = "libXinerama.so.1";
    int (*XineramaIsActive)(Display*) = nullptr;
    XineramaScreenInfo* (*XineramaQueryScreens)(Display*, int*) = nullptr;

    bool bind(const SharedLibrary& library) {
        return SI32_BIND(library, XineramaIsActive) && SI32_BIND(library, XineramaQueryScreens);
    }
};

std::vector<MonitorRect> xineramaMonitors(Display* display) {
    const Xinerama* xinerama = loadLibraryOnce<Xinerama>();
    if (xinerama == nullptr || !xinerama->XineramaIsActive(display)) return {};
    int count = 0;
    XineramaScreenInfo* screens = xinerama->XineramaQueryScreens(display, &count);
    std::vector<MonitorRect> monitors;
    for (int i = 0; screens != nullptr && i < count; ++i)
        monitors.push_back({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height});
    x11::freeData(screens);
    return monitors;
}

void readWorkArea(Display* display, Window root, ScreenFacts& facts);
void readMonitors(Display* display, ScreenFacts& facts);

ScreenFacts readScreen(Display* display) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    ScreenFacts facts;
    const auto size = x11::rootSize(display);
    facts.widthPx = size ? size->first : DisplayWidth(display, screen);
    facts.heightPx = size ? size->second : DisplayHeight(display, screen);
    // The colour depth, not the pixel's storage: a 24-bit screen shows
    // 16,777,216 colours even though each pixel occupies 32 bits.
    facts.bitsPerPixel = DefaultDepth(display, screen);
    facts.planes = 1;

    // The desktop's chosen density (what toolkits scale by); without one,
    // toolkits and the window alike take 96, never the screen's millimetres,
    // which servers often only guess.
    const double dpi = x11::xftDpi(x11::resources(display)).value_or(kUnsetDesktopDpi);
    facts.dpiX = facts.dpiY = dpi;

    readWorkArea(display, root, facts);
    readMonitors(display, facts);

    // Icon, scroll-bar, title-bar and font sizes belong to a toolkit's
    // style, which the report does not load: they stay unknown.
    facts.iconSize = 0;
    facts.smallIconSize = 0;
    return facts;
}

// The window manager's work area on the current desktop; without one,
// nothing reserves any part of the screen.
void readWorkArea(Display* display, Window root, ScreenFacts& facts) {
    facts.workLeft = 0;
    facts.workTop = 0;
    facts.workRight = facts.widthPx;
    facts.workBottom = facts.heightPx;
    const auto areas = x11::property32(display, root, x11::knownAtom(display, "_NET_WORKAREA"));
    const auto current = x11::property32(display, root, x11::knownAtom(display, "_NET_CURRENT_DESKTOP"));
    const size_t desktop = current.empty() ? 0 : current.front();
    if (areas.size() >= 4 * (desktop + 1)) {
        const auto* area = &areas[4 * desktop];
        facts.workLeft = static_cast<int32_t>(area[0]);
        facts.workTop = static_cast<int32_t>(area[1]);
        facts.workRight = facts.workLeft + static_cast<int32_t>(area[2]);
        facts.workBottom = facts.workTop + static_cast<int32_t>(area[3]);
    }
}

// The monitors and the virtual screen around them. Without a Xinerama view
// the server shows one screen: one monitor.
void readMonitors(Display* display, ScreenFacts& facts) {
    std::vector<MonitorRect> monitors = xineramaMonitors(display);
    if (monitors.empty()) monitors.push_back({0, 0, facts.widthPx, facts.heightPx});
    int left = monitors.front().x, top = monitors.front().y;
    int right = left + monitors.front().width, bottom = top + monitors.front().height;
    for (const MonitorRect& m : monitors) {
        left = std::min(left, m.x);
        top = std::min(top, m.y);
        right = std::max(right, m.x + m.width);
        bottom = std::max(bottom, m.y + m.height);
    }
    facts.monitors = static_cast<int32_t>(monitors.size());
    facts.virtualLeft = left;
    facts.virtualTop = top;
    facts.virtualWidth = right - left;
    facts.virtualHeight = bottom - top;
}

}  // namespace

DisplayAnswer probeX11Connection(const std::string& name) {
    if (name.empty()) return DisplayAnswer::Unnamed;
    const std::optional<bool> opened = x11::queryRunner().run<bool>(
        name, [display = name] { return std::optional<bool>(x11::sharedDisplay(display) != nullptr); });
    if (!opened) return DisplayAnswer::Silent;
    return *opened ? DisplayAnswer::Answers : DisplayAnswer::Refuses;
}

std::optional<ScreenFacts> queryX11Screen(const std::string& display) {
    return x11::query<ScreenFacts>(display, [](Display* d) -> std::optional<ScreenFacts> { return readScreen(d); });
}

}  // namespace si32
