#include <csignal>
#include <cstdlib>
#include <string>

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

namespace {

std::string displayName() {
    const char* name = std::getenv("DISPLAY");
    return name == nullptr ? std::string() : std::string(name);
}

}  // namespace

std::optional<ScreenFacts> queryDisplayScreen() { return queryX11Screen(displayName()); }

DisplayAnswer probeX11Display() { return probeX11Connection(displayName()); }

void IgnoreClosedPipe() { std::signal(SIGPIPE, SIG_IGN); }

void EndOnClosedPipe() {
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    // Blocked by whoever started us: the status the signal would have given.
    std::_Exit(128 + SIGPIPE);
}

}  // namespace si32
