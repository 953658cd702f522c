#include <csignal>
#include <cstdlib>

#include "platform/closed_pipe.h"
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

void IgnoreClosedPipe() { std::signal(SIGPIPE, SIG_IGN); }

void EndOnClosedPipe() {
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    // Blocked by whoever started us: the status the signal would have given.
    std::_Exit(128 + SIGPIPE);
}

}  // namespace si32
