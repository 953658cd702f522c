#pragma once
// What kind of machine uname's hardware name ("x86_64", "armv7l", "s390x")
// stands for: the layout its kernel gives /proc/cpuinfo, and the codes
// SYSTEM_INFO gives it. One table answers both, so the two never disagree.
#include <cstdint>
#include <string_view>

#include "platform/contract/processor_architecture.h"

namespace si32 {

// The architectures whose cpuinfo layout the backend reads.
enum class CpuArchitecture { Unknown, X86, X86_64, Arm, Arm64, RiscV, Power, S390, LoongArch, Mips, Sparc, Ia64 };

// SYSTEM_INFO's architecture and processor type.
struct ProcessorCode {
    uint16_t architecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
    uint32_t type = 0;
};

struct MachineKind {
    CpuArchitecture architecture = CpuArchitecture::Unknown;
    ProcessorCode code;
};
MachineKind machineKindOf(std::string_view machine);

}  // namespace si32
