#include "platform/sim/sim_backend.h"

namespace si32 {

std::unique_ptr<Backend> makeSimBackend(const std::string& descriptionPath, Frontend&) {
    throw MachineDescriptionError(descriptionPath + ": simulated machines are not available yet");
}

}  // namespace si32
