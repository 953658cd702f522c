#include "platform/sim/sim_machine.h"

#include "platform/sim/call_names.h"
#include "platform/sim/sim_backend.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_kernel.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_ui.h"

namespace si32 {

// The services refer to the description and to each other, so they live
// together at one fixed address.
struct SimMachine::Services {
    Services(sim::MachineDescription machine, Frontend& frontend)
        : description(std::move(machine)),
          failing(description.failingCalls),
          files(description, failing),
          kernel(description, failing, files),
          registry(description, failing),
          shell(description, failing),
          ui(description, failing, frontend),
          multimedia(description, failing),
          printing(description, failing),
          regional(description, failing),
          platform{kernel, registry, shell, ui, multimedia, files, printing, regional} {}

    sim::MachineDescription description;
    sim::FailingCalls failing;
    sim::SimFileSystem files;
    sim::SimKernel kernel;
    sim::SimRegistry registry;
    sim::SimShell shell;
    sim::SimUi ui;
    sim::SimMultimedia multimedia;
    sim::SimPrinting printing;
    sim::SimRegional regional;
    Platform platform;
};

SimMachine::SimMachine(sim::MachineDescription description, Frontend& frontend)
    : services_(std::make_unique<Services>(std::move(description), frontend)) {}

SimMachine::SimMachine(const std::string& path, Frontend& frontend)
    : SimMachine(sim::loadMachineDescription(path), frontend) {}

SimMachine::SimMachine(const Text& text, Frontend& frontend)
    : SimMachine(sim::parseMachineDescription(text.json, text.sourceName, text.baseDirectory), frontend) {}

SimMachine::~SimMachine() = default;

Platform& SimMachine::platform() { return services_->platform; }

const std::vector<sim::SpiCall>& SimMachine::spiLog() const { return services_->ui.spiLog(); }

std::vector<std::string> SimMachine::started() const { return services_->files.Started(); }

std::vector<sim::FileFacts> SimMachine::fileSystem() const { return services_->files.snapshot(); }

std::span<const std::string_view> SimMachine::knownCalls() { return sim::knownCallNames(); }

std::unique_ptr<Backend> makeSimBackend(const std::string& descriptionPath, Frontend& frontend) {
    return std::make_unique<SimMachine>(descriptionPath, frontend);
}

}  // namespace si32
