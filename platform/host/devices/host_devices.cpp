// The host's device services, as the backend composes them.
#include "platform/host/devices/host_devices.h"

#include "platform/host/devices/host_alsa.h"
#include "platform/host/devices/host_cups.h"
#include "platform/host/devices/host_taskbar.h"

namespace si32 {

std::unique_ptr<Shell> makeHostShell(HostDeps&) { return std::make_unique<HostShell>(makeX11DesktopPanels()); }
std::unique_ptr<Multimedia> makeHostMultimedia() { return std::make_unique<HostMultimedia>(makeAlsaLibrary()); }
std::unique_ptr<Printing> makeHostPrinting() {
    return std::make_unique<HostPrinting>(makeCupsLibrary(kCupsConnectLimit), kCupsQueryLimit);
}

}  // namespace si32
