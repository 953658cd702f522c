// Fuzz target: a machine description of any content either is refused with
// one line, or runs the whole start-up, every drive pick, two clicks of the
// button and both report forms. Either way: no crash, no hang, no exception
// other than the description error, and both reports are valid UTF-8
// whatever bytes the machine held.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/guarded.h"
#include "platform/platform.h"
#include "platform/sim/sim_machine.h"

namespace {

class SilentFrontend : public si32::Frontend {
public:
    int32_t ShowMessage(std::string_view prompt, int32_t, std::string_view) override {
        messages.emplace_back(prompt);
        return si32::IDOK;
    }
    void SetBusyPointer(bool) override {}
    std::optional<si32::ScreenFacts> Screen() override { return std::nullopt; }

    std::vector<std::string> messages;
};

void runMachine(si32::SimMachine& machine, SilentFrontend& frontend) {
    si32::Session session(machine.platform());
    si32::Form_Load(session);
    if (!session.RefusedSecondInstance) {
        si32::Form_Activate(session);
        for (const si32::DriveListEntry& entry : std::vector<si32::DriveListEntry>(session.form.Drive1Entries))
            si32::guarded([&] { session.form.SetDrive1(std::string_view(&entry.letter, 1)); });
        session.mod.Command2_Click();
        session.mod.Command2_Click();
    }
    const si32::ReportExtras extras{machine.started(), frontend.messages};
    // The strict dump throws on invalid UTF-8: the property under test.
    const std::string json = si32::ReportJson(session, extras).dump(2);
    const std::string text = si32::ReportText(session, extras);
    if (!nlohmann::json::accept(json) || !nlohmann::json::accept(nlohmann::json(text).dump())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string description(reinterpret_cast<const char*>(data), size);
    SilentFrontend frontend;
    std::unique_ptr<si32::SimMachine> machine;
    try {
        // Relative registry files name nothing: only the text is under test.
        machine = std::make_unique<si32::SimMachine>(si32::SimMachine::Text{description, "fuzz.json", "/nonexistent"},
                                                     frontend);
    } catch (const si32::MachineDescriptionError& error) {
        const std::string message = error.what();
        if (message.find('\n') != std::string::npos || message.rfind("fuzz.json: ", 0) != 0) __builtin_trap();
        return 0;
    }
    runMachine(*machine, frontend);
    return 0;
}
