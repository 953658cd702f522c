#include <cstdlib>

#include "platform/demo_machines.h"
#include "platform/host/display/x11_screen.h"
#include "platform/host/host_backend.h"
#include "platform/platform.h"
#include "platform/sim/demo_machines.h"
#include "platform/sim/sim_backend.h"

namespace si32 {

std::unique_ptr<Backend> makeBackend(Frontend& frontend, Program program) {
    const char* machine = std::getenv("SI32_MACHINE");
    if (machine != nullptr && *machine != '\0')
        return makeSimBackend(sim::ResolveMachine(machine, sim::DemoMachineFolder(programsDirectory())), frontend);
    return makeHostBackend(frontend, program);
}

std::vector<DemoMachine> listDemoMachines() {
    return sim::ListDemoMachines(sim::DemoMachineFolder(programsDirectory()));
}

std::optional<ScreenFacts> queryDisplayScreen() { return queryX11Screen(); }

DisplayAnswer probeX11Display() { return probeX11Connection(); }

}  // namespace si32
