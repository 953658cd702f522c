#pragma once
// The host's device services (taskbar, audio, printing) and what they and
// the user-interface services (display/host_ui.h) rely on. The composition
// in host_backend.cpp builds them through these factories, so the device
// code can change without touching the composition.
#include <memory>

#include "platform/engine/registry_store.h"
#include "platform/host/common/host_context.h"
#include "platform/host/volumes/drive_map.h"
#include "platform/platform.h"

namespace si32 {

// What the device services may rely on. Every reference outlives the
// services: the backend owns them all and destroys the services first.
struct HostDeps {
    Frontend& frontend;
    Program program;
    HostContext context;
    const DriveMap& drives;
    // Desktop parameters live under HKCU\Control Panel\Desktop; a service that
    // changes one writes the user's part back to the prefix's registry.reg.
    RegistryStore& registry;
};

std::unique_ptr<Shell> makeHostShell(HostDeps& deps);
std::unique_ptr<Multimedia> makeHostMultimedia();
std::unique_ptr<Printing> makeHostPrinting(const HostContext& context);

}  // namespace si32
