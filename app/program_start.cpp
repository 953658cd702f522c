#include "app/program_start.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/terminal_text.h"

namespace si32 {

BackendStart StartBackend(Frontend& frontend, Program program, std::string_view programName) {
    BackendStart start;
    try {
        start.backend = makeBackend(frontend, program);
    } catch (const MachineDescriptionError& e) {
        PrintErrorLine(std::string(programName) + ": " + e.what());
        start.exitStatus = 2;
    } catch (const std::exception& e) {
        PrintErrorLine(std::string(programName) + ": " + e.what());
        start.exitStatus = 1;
    }
    return start;
}

bool SwitchedOn(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && std::string_view(value) == "1";
}

}  // namespace si32
