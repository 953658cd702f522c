#pragma once
// The simulated machine: every service answers from a machine description.
#include <memory>
#include <string>

#include "platform/platform.h"

namespace si32 {

// Throws MachineDescriptionError when the file cannot be used.
std::unique_ptr<Backend> makeSimBackend(const std::string& descriptionPath, Frontend& frontend);

}  // namespace si32
