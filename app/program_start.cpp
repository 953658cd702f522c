#include "app/program_start.h"

#include <iostream>

namespace si32 {

BackendStart StartBackend(Frontend& frontend, Program program, std::string_view programName) {
    BackendStart start;
    try {
        start.backend = makeBackend(frontend, program);
    } catch (const MachineDescriptionError& e) {
        std::cerr << programName << ": " << e.what() << "\n";
        start.exitStatus = 2;
    } catch (const std::exception& e) {
        std::cerr << programName << ": " << e.what() << "\n";
        start.exitStatus = 1;
    }
    return start;
}

}  // namespace si32
