#pragma once
// si32-report --capture: the program's whole run on a machine (start-up,
// every drive of the drive list, the System Information button, the desktop
// facts ScreenInfo reads) through a recorder, and the machine description
// that replays it.
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/capture/description_writer.h"
#include "platform/platform.h"

namespace si32 {

class Session;

struct CaptureSteps {
    // Picked before the others, as --drive picks it; afterFirstDrive then
    // sees the window as a report of that drive would print it.
    std::string firstDrive;
    std::function<void(const Session&)> afterFirstDrive;
    // Sees the window after the button was pressed, without any start.
    std::function<void(const Session&, const std::vector<std::string>& started)> afterClick;
};

nlohmann::ordered_json CaptureMachine(Backend& machine, const capture::Privacy& privacy,
                                      const CaptureSteps& steps = {});

}  // namespace si32
