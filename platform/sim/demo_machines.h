#pragma once
// The demo machines that come with the program, found by their bare name
// ("win98se") in the folder an installation or the build tree keeps them.
#include <string>
#include <vector>

#include "platform/demo_machines.h"

namespace si32::sim {

// Where the machines are, seen from the directory that holds the programs.
std::string DemoMachineFolder(const std::string& programsDirectory);

// The file SI32_MACHINE names: a path as it is (it has a slash, ends in
// .json or names a file here), else the demo machine of that name. Throws
// MachineDescriptionError for a name no demo machine has.
std::string ResolveMachine(const std::string& value, const std::string& folder);

// Every description in the folder, sorted by name.
std::vector<DemoMachine> ListDemoMachines(const std::string& folder);

}  // namespace si32::sim
