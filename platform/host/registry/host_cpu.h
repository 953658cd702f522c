#pragma once
// The first processor as Windows describes it in
// HARDWARE\DESCRIPTION\System\CentralProcessor\0, from /proc/cpuinfo.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace si32 {

struct CpuDescription {
    std::string vendorIdentifier;     // "GenuineIntel", "ARM Limited"; "" when unknown
    std::string processorNameString;  // "Intel(R) Xeon(R) ...", "Cortex-A72"; "" when unknown
    std::string identifier;           // "Intel64 Family 6 Model 85 Stepping 7"; "" when unknown
    uint16_t level = 0;               // SYSTEM_INFO's processor level and revision
    uint16_t revision = 0;
};

// machine: the hardware name uname gives ("x86_64", "i686", "aarch64").
CpuDescription describeCpu(std::string_view cpuinfo, std::string_view machine);

// The nominal clock in MHz: the base frequency the CPU driver reports, the
// rated clock in an x86 model name ("@ 2.00GHz"), the highest frequency the
// driver allows, the clock cpuinfo last saw, or the device tree's clock of
// the first processor, in that order.
std::optional<uint32_t> nominalMhz(const std::string& root, std::string_view cpuinfo);

// ARM's registered implementer codes and part numbers (the MIDR fields).
std::string_view armImplementerName(uint32_t implementer);
std::string_view armPartName(uint32_t implementer, uint32_t part);

}  // namespace si32
