#include "platform/host/machine/machine_kind.h"

namespace si32 {

MachineKind machineKindOf(std::string_view machine) {
    // Windows has codes for few architectures; the others have the host's
    // own. Longer names stand before the shorter ones they begin with.
    using A = CpuArchitecture;
    struct Row {
        std::string_view prefix;
        MachineKind kind;
    };
    static constexpr Row rows[] = {
        {"x86_64", {A::X86_64, {PROCESSOR_ARCHITECTURE_AMD64, 8664}}},
        {"amd64", {A::X86_64, {PROCESSOR_ARCHITECTURE_AMD64, 8664}}},
        {"i386", {A::X86, {PROCESSOR_ARCHITECTURE_INTEL, 386}}},
        {"i486", {A::X86, {PROCESSOR_ARCHITECTURE_INTEL, 486}}},
        {"i586", {A::X86, {PROCESSOR_ARCHITECTURE_INTEL, 586}}},
        {"i686", {A::X86, {PROCESSOR_ARCHITECTURE_INTEL, 586}}},
        {"aarch64", {A::Arm64, {PROCESSOR_ARCHITECTURE_ARM64, 2577}}},
        {"arm64", {A::Arm64, {PROCESSOR_ARCHITECTURE_ARM64, 2577}}},
        {"arm", {A::Arm, {PROCESSOR_ARCHITECTURE_ARM, 2577}}},
        {"ia64", {A::Ia64, {PROCESSOR_ARCHITECTURE_IA64, 2200}}},
        {"mips", {A::Mips, {PROCESSOR_ARCHITECTURE_MIPS, 4000}}},
        {"ppc64", {A::Power, {PROCESSOR_ARCHITECTURE_PPC, 620}}},
        {"ppc", {A::Power, {PROCESSOR_ARCHITECTURE_PPC, 601}}},
        {"powerpc", {A::Power, {PROCESSOR_ARCHITECTURE_PPC, 601}}},
        // No cpuinfo layout of their own is read for these.
        {"alpha", {A::Unknown, {PROCESSOR_ARCHITECTURE_ALPHA, 21064}}},
        {"sh3", {A::Unknown, {PROCESSOR_ARCHITECTURE_SHX, 103}}},
        {"sh4", {A::Unknown, {PROCESSOR_ARCHITECTURE_SHX, 104}}},
        {"riscv", {A::RiscV, {PROCESSOR_ARCHITECTURE_RISCV, 0}}},
        {"loongarch", {A::LoongArch, {PROCESSOR_ARCHITECTURE_LOONGARCH, 0}}},
        {"sparc", {A::Sparc, {PROCESSOR_ARCHITECTURE_SPARC, 0}}},
        {"s390", {A::S390, {PROCESSOR_ARCHITECTURE_S390, 0}}},
    };
    for (const Row& row : rows)
        if (machine.starts_with(row.prefix)) return row.kind;
    return {};
}

}  // namespace si32
