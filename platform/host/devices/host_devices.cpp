// The host's device services, as the backend composes them.
#include "platform/host/devices/host_devices.h"

#include "platform/host/devices/host_alsa.h"
#include "platform/host/devices/host_cups.h"
#include "platform/host/devices/host_taskbar.h"

namespace si32 {

std::unique_ptr<Shell> makeHostShell(HostDeps& deps) {
    return std::make_unique<HostShell>(makeX11DesktopPanels(deps.context.environment.Get("DISPLAY")));
}
std::unique_ptr<Multimedia> makeHostMultimedia() { return std::make_unique<HostMultimedia>(makeAlsaLibrary()); }
std::unique_ptr<Printing> makeHostPrinting(const HostContext& context) {
    return std::make_unique<HostPrinting>(makeCupsLibrary(kCupsConnectLimit, context.environment), kCupsQueryLimit);
}

}  // namespace si32
