#pragma once
// The real Linux machine, presented through the Windows-shaped services.
#include <memory>
#include <string>

#include "platform/host/common/host_context.h"
#include "platform/platform.h"

namespace si32 {

std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program);
// Over a given root and prefix, as tests run it over fixture trees.
std::unique_ptr<Backend> makeHostBackend(Frontend& frontend, Program program, HostContext context);

// The prefix and the program's directory, chosen from the environment.
HostContext makeHostContext();
// The variables of this process's environment that the backend heeds.
HostEnvironment processEnvironment();

// The directory that holds this program ("" when it cannot be told), which
// the installation's data is found from.
std::string programsDirectory();

}  // namespace si32
