#pragma once
// What the machine is, learned once when the backend starts: the kernel's
// name of its hardware, its kind, and its processor as /proc/cpuinfo and
// sysfs describe it. The kernel's and the registry's answers come from this
// one value, so they describe the same machine.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/host/machine/host_cpu.h"
#include "platform/host/machine/machine_kind.h"

namespace si32 {

struct MachineFacts {
    std::string machine;  // uname's hardware name ("x86_64")
    MachineKind kind;
    CpuDescription cpu;
    std::optional<uint32_t> mhz;  // the rated clock; none when nothing tells it
};

// machine: the hardware name to take, "" to ask uname.
MachineFacts readMachineFacts(const std::string& root, const std::string& machine);

}  // namespace si32
