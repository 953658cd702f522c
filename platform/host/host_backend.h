#pragma once
// The real Linux machine, presented through the Windows-shaped services.
#include <memory>

#include "platform/host/host_context.h"
#include "platform/platform.h"

namespace si32 {

std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program);
// Over a given root and prefix, as tests run it over fixture trees.
std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program, HostContext context);

}  // namespace si32
