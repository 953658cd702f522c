// The Windows build's choice of machine: the simulated one named by
// SI32_MACHINE, the real Windows machine otherwise.
#include <cstdlib>

#include "platform/closed_pipe.h"
#include "platform/demo_machines.h"
#include "platform/platform.h"
#include "platform/sim/demo_machines.h"
#include "platform/sim/sim_backend.h"
#include "platform/win32/win32_backend.h"

namespace si32 {

std::unique_ptr<Backend> makeBackend(Frontend& frontend, Program program) {
    const char* machine = std::getenv("SI32_MACHINE");
    if (machine != nullptr && *machine != '\0')
        return makeSimBackend(sim::ResolveMachine(machine, sim::DemoMachineFolder(programsDirectory())), frontend);
    return makeWin32Backend(frontend, program);
}

std::vector<DemoMachine> listDemoMachines() {
    return sim::ListDemoMachines(sim::DemoMachineFolder(programsDirectory()));
}

std::optional<ScreenFacts> queryDisplayScreen() { return queryWin32Screen(); }

// The desktop is part of Windows itself: there is no display server to
// wait for.
DisplayAnswer probeX11Display() { return DisplayAnswer::Unnamed; }

// A write to a closed pipe fails with an error code there; no signal comes.
void IgnoreClosedPipe() {}

void EndOnClosedPipe() { std::_Exit(1); }

}  // namespace si32
