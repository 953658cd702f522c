#pragma once
// The first processor as Windows describes it in
// HARDWARE\DESCRIPTION\System\CentralProcessor\0, from /proc/cpuinfo, whose
// layout is each architecture's own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host/machine/machine_kind.h"

namespace si32 {

struct CpuDescription {
    std::string vendorIdentifier;     // "GenuineIntel", "ARM Limited"; "" when unknown
    std::string processorNameString;  // "Intel(R) Xeon(R) ...", "Cortex-A72"; "" when unknown
    std::string identifier;           // "Intel64 Family 6 Model 85 Stepping 7"; "" when unknown
    uint16_t level = 0;               // SYSTEM_INFO's processor level and revision
    uint16_t revision = 0;
    // The clock cpuinfo itself states ("cpu MHz", POWER's "clock", SPARC's
    // "Cpu0ClkTck", ...), in MHz.
    std::optional<uint32_t> statedMhz;
    // What cpuinfo says of the machine around the processor (MIPS "system
    // type", POWER "model", an old ARM kernel's "Hardware"); "" when nothing.
    std::string machineModel;
};

// cpuinfo: the whole of /proc/cpuinfo, laid out as the architecture's kernel
// writes it. root: where sysfs tells the sizes of the cores of a machine with
// several kinds (an empty root reads nothing).
CpuDescription describeCpu(std::string_view cpuinfo, CpuArchitecture architecture, const std::string& root = {});

// The rated clock in MHz, most trusted first: the rating in the processor's
// name ("@ 2.80GHz": the frequency driver's base may be a lowered
// configuration), the driver's nominal rate, the highest rate the driver
// allows, the clock cpuinfo states, the device tree's clock of the first
// processor.
std::optional<uint32_t> nominalMhz(const std::string& root, const CpuDescription& cpu);

// ARM's registered implementer codes and part numbers (the MIDR fields).
struct ArmCore {
    std::string_view name;  // "" when the part is not in the table
    int size = 0;           // 0 an efficiency core, 1 a performance core, 2 a prime core
};
std::string_view armImplementerName(uint32_t implementer);
std::string_view armImplementerShortName(uint32_t implementer);
ArmCore armCore(uint32_t implementer, uint32_t part);
// The architecture version of cores the kernel reports under a later one
// (ARM11 cores carry the revised ID scheme, so the kernel prints 7); 0 for
// the rest.
uint32_t armCoreArchitecture(uint32_t implementer, uint32_t part);

}  // namespace si32
