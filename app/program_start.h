#pragma once
// How both programs make their platform: a description that cannot be used
// ends the program with its one line and status 2, anything else with 1.
#include <memory>
#include <string_view>

#include "platform/platform.h"

namespace si32 {

struct BackendStart {
    std::unique_ptr<Backend> backend;  // null when the program is to end
    int exitStatus = 0;
};

// Writes "<program>: <reason>" to standard error on failure.
BackendStart StartBackend(Frontend& frontend, Program program, std::string_view programName);

// A switch of the environment's for the programs' test hooks
// (SI32_EXIT_AFTER_FIRST_PAINT=1): on only when set to 1.
bool SwitchedOn(const char* variable);

}  // namespace si32
