#pragma once
// SYSTEM_INFO's processor architectures, as both backends report them.
#include <cstdint>

namespace si32 {

constexpr uint16_t PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr uint16_t PROCESSOR_ARCHITECTURE_MIPS = 1;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ALPHA = 2;
constexpr uint16_t PROCESSOR_ARCHITECTURE_PPC = 3;
constexpr uint16_t PROCESSOR_ARCHITECTURE_SHX = 4;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr uint16_t PROCESSOR_ARCHITECTURE_IA64 = 6;
constexpr uint16_t PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM64 = 12;
constexpr uint16_t PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;

}  // namespace si32
