#pragma once
// Shared by the simulated machine's tests: a frontend that records what the
// machine asks of it, and machines made from text or from the example file.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "tests/support/source_dir.h"

namespace si32::simtest {

using RecordingFrontend = testsupport::RecordingFrontend;

using testsupport::sourceDir;

inline std::string exampleMachinePath() { return testsupport::sourceFile("tests/platform/sim/example_machine.json"); }

// A machine from description text, with its own frontend.
struct TestMachine {
    explicit TestMachine(std::string_view json)
        : machine(std::make_unique<SimMachine>(SimMachine::Text{json, "test.json", "."}, frontend)) {}
    TestMachine() : machine(std::make_unique<SimMachine>(exampleMachinePath(), frontend)) {}

    Platform& platform() { return machine->platform(); }

    RecordingFrontend frontend;
    std::unique_ptr<SimMachine> machine;
};

}  // namespace si32::simtest
