#pragma once
// The real Linux machine, presented through the Windows-shaped services.
#include <memory>

#include "platform/platform.h"

namespace si32 {

std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program);

}  // namespace si32
