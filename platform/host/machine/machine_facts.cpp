#include "platform/host/machine/machine_facts.h"

#include "platform/host/common/host_read.h"
#include "platform/host/machine/host_facts.h"

namespace si32 {

MachineFacts readMachineFacts(const std::string& root, const std::string& machine) {
    MachineFacts facts;
    facts.machine = machine.empty() ? machineName() : machine;
    facts.kind = machineKindOf(facts.machine);
    facts.cpu = describeCpu(readUnderRoot(root, "/proc/cpuinfo").value_or(""), facts.kind.architecture, root);
    facts.mhz = nominalMhz(root, facts.cpu);
    return facts;
}

}  // namespace si32
