#include "platform/host/devices/host_taskbar.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "platform/host/common/host_ui_x11.h"
#include "platform/run_time_error.h"

namespace si32 {
namespace {

bool contains(const std::vector<unsigned long>& items, Atom atom) {
    return atom != None && std::find(items.begin(), items.end(), atom) != items.end();
}

bool anyNonZero(const std::vector<unsigned long>& items, size_t first, size_t count) {
    for (size_t i = first; i < std::min(items.size(), first + count); ++i)
        if (items[i] != 0) return true;
    return false;
}

std::optional<std::vector<DockWindow>> readDocks(Display* display) {
    const Window root = DefaultRootWindow(display);
    // Only an EWMH window manager announces itself here; without one no
    // window type or state means anything.
    if (x11::property32(display, root, x11::knownAtom(display, "_NET_SUPPORTING_WM_CHECK")).empty())
        return std::nullopt;

    const Atom windowType = x11::knownAtom(display, "_NET_WM_WINDOW_TYPE");
    const Atom dockType = x11::knownAtom(display, "_NET_WM_WINDOW_TYPE_DOCK");
    const Atom state = x11::knownAtom(display, "_NET_WM_STATE");
    const Atom below = x11::knownAtom(display, "_NET_WM_STATE_BELOW");
    const Atom strutPartial = x11::knownAtom(display, "_NET_WM_STRUT_PARTIAL");
    const Atom strut = x11::knownAtom(display, "_NET_WM_STRUT");
    if (dockType == None) return std::vector<DockWindow>{};

    // Docks are mostly left unframed, so they are children of the root;
    // the managed client list covers the ones a window manager frames.
    std::set<Window> candidates;
    for (unsigned long w : x11::property32(display, root, x11::knownAtom(display, "_NET_CLIENT_LIST")))
        candidates.insert(static_cast<Window>(w));
    for (Window w : x11::children(display, root)) candidates.insert(w);

    std::vector<DockWindow> docks;
    for (Window w : candidates) {
        if (!contains(x11::property32(display, w, windowType), dockType)) continue;
        if (!x11::isViewable(display, w)) continue;
        DockWindow dock;
        // left, right, top, bottom come first in both forms of the strut.
        dock.reservesSpace = anyNonZero(x11::property32(display, w, strutPartial), 0, 4) ||
                             anyNonZero(x11::property32(display, w, strut), 0, 4);
        dock.keptBelow = contains(x11::property32(display, w, state), below);
        docks.push_back(dock);
    }
    return docks;
}

class X11DesktopPanels final : public DesktopPanels {
public:
    explicit X11DesktopPanels(std::string display) : display_(std::move(display)) {}
    std::optional<std::vector<DockWindow>> Docks() override {
        return x11::query<std::vector<DockWindow>>(display_, readDocks);
    }

private:
    std::string display_;
};

}  // namespace

std::unique_ptr<DesktopPanels> makeX11DesktopPanels(const std::string& display) {
    return std::make_unique<X11DesktopPanels>(display);
}

uint32_t panelState(const std::optional<std::vector<DockWindow>>& docks) {
    if (!docks || docks->empty()) raise(ErrorKind::PlatformFailure, "the desktop does not tell its panel's state");
    uint32_t state = ABS_AUTOHIDE;
    for (const DockWindow& dock : *docks) {
        if (dock.reservesSpace) state &= ~ABS_AUTOHIDE;
        if (!dock.keptBelow) state |= ABS_ALWAYSONTOP;
    }
    return state;
}

uint32_t HostShell::SHAppBarMessage(uint32_t message, AppBarData&) {
    // The program asks nothing else; other messages concern an application's
    // own bars, of which it has none.
    if (message != ABM_GETSTATE) return 0;
    return panelState(panels_->Docks());
}

}  // namespace si32
