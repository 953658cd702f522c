#pragma once
// The taskbar state on the host: the desktop panel's auto-hide and
// always-on-top state, as far as the desktop tells it.
//
// What the desktop tells, through the window manager (EWMH): a panel is a
// window of type _NET_WM_WINDOW_TYPE_DOCK; the window manager keeps docks
// above other windows unless one asks to be kept below; a panel that reserves
// a strip of the screen (a strut) stays visible, while an auto-hiding panel
// reserves none, since it gives the space back whenever it hides. A desktop
// without an EWMH window manager, or whose panel is no window of its own (a
// compositor that draws it), tells nothing, and the call fails.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace si32 {

struct DockWindow {
    bool reservesSpace = false;
    bool keptBelow = false;
};

class DesktopPanels {
public:
    virtual ~DesktopPanels() = default;
    // The visible dock windows; nullopt when the desktop cannot be asked.
    virtual std::optional<std::vector<DockWindow>> Docks() = 0;
};

std::unique_ptr<DesktopPanels> makeX11DesktopPanels(const std::string& display);

// ABS_AUTOHIDE when no panel reserves space, ABS_ALWAYSONTOP when a panel
// is kept above. Raises the platform error when there is no panel to ask.
uint32_t panelState(const std::optional<std::vector<DockWindow>>& docks);

class HostShell final : public Shell {
public:
    explicit HostShell(std::unique_ptr<DesktopPanels> panels) : panels_(std::move(panels)) {}
    uint32_t SHAppBarMessage(uint32_t message, AppBarData& data) override;

private:
    std::unique_ptr<DesktopPanels> panels_;
};

}  // namespace si32
