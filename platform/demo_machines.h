#pragma once
// The demo machines that come with the program. SI32_MACHINE takes a bare
// name ("win98se") for one of them as well as a description file's path.
#include <string>
#include <vector>

namespace si32 {

struct DemoMachine {
    std::string name;         // what SI32_MACHINE takes
    std::string description;  // one line for people
};

// Sorted by name.
std::vector<DemoMachine> listDemoMachines();

}  // namespace si32
