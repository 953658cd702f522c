#pragma once
// The simulated machine as a backend, with what tests need to look inside:
// the desktop-parameter calls made, the programs started, the file system as
// it stands, and the names of the calls a description can make fail.
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/machine_description.h"
#include "platform/sim/spi_call.h"

namespace si32 {

class SimMachine : public Backend {
public:
    // A description given as text; registry_file is looked for in
    // baseDirectory and errors name sourceName.
    struct Text {
        std::string_view json;
        std::string sourceName = "machine.json";
        std::string baseDirectory = ".";
    };

    // Both throw MachineDescriptionError when the description cannot be used.
    SimMachine(const std::string& path, Frontend& frontend);
    SimMachine(const Text& text, Frontend& frontend);
    ~SimMachine() override;

    Platform& platform() override;

    const std::vector<sim::SpiCall>& spiLog() const;
    std::vector<std::string> started() const;
    std::vector<sim::FileFacts> fileSystem() const;
    static std::span<const std::string_view> knownCalls();

private:
    SimMachine(sim::MachineDescription description, Frontend& frontend);

    struct Services;
    std::unique_ptr<Services> services_;
};

}  // namespace si32
