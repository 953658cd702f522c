#pragma once
// One SystemParametersInfoA call as the simulated machine saw it, so tests
// can check what a program asked for and what it tried to change.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace si32::sim {

enum class SpiPointerKind { None, Value, Memory };

struct SpiCall {
    uint32_t action = 0;
    uint32_t param = 0;
    SpiPointerKind pointerKind = SpiPointerKind::None;
    int32_t value = 0;             // Value: the 32-bit value passed in the pointer
    std::vector<std::byte> bytes;  // Memory: the caller's memory as passed in
    uint32_t winIni = 0;
    int32_t result = 0;  // what the call answered
};

}  // namespace si32::sim
