#pragma once
// Shared by the simulated machine's tests: a frontend that records what the
// machine asks of it, and machines made from text or from the example file.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_machine.h"

namespace si32::simtest {

class RecordingFrontend : public Frontend {
public:
    int32_t ShowMessage(std::string_view prompt, int32_t, std::string_view) override {
        messages.emplace_back(prompt);
        return IDOK;
    }
    void SetBusyPointer(bool busy) override { pointers.push_back(busy); }
    std::optional<ScreenFacts> Screen() override { return std::nullopt; }

    std::vector<std::string> messages;
    std::vector<bool> pointers;
};

inline std::string sourceDir() {
    const char* dir = std::getenv("SI32_SOURCE_DIR");
    return dir != nullptr ? dir : ".";
}

inline std::string exampleMachinePath() { return sourceDir() + "/tests/platform/sim/example_machine.json"; }

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
