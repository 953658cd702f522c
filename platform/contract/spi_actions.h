#pragma once
// What SystemParametersInfoA does with each set action, written once for both
// backends: where the new value comes from, which get action answers it
// afterwards, and (a column only the host uses) the value under
// HKCU\Control Panel\Desktop that keeps it in a user profile.
#include <cstdint>
#include <optional>
#include <string_view>

namespace si32 {

// How a set action carries its new value.
enum class SpiSource : uint8_t {
    Count,    // in the count argument (uiParam)
    Pointer,  // in the pointer argument itself
    Record,   // in caller memory laid out as the get action's record
    Text,     // a NUL-terminated file name in caller memory; none clears it
    Refresh,  // no value: the system re-reads a setting
    Spacing,  // icon spacing: a get into caller memory, else a set from the count
};

struct SpiSetAction {
    uint32_t set = 0;
    uint32_t get = 0;  // the action that answers the stored value
    SpiSource source = SpiSource::Count;
    bool boolean = false;           // stored as 1 or 0, as the system keeps flags
    int32_t metric = -1;            // Spacing: the system metric it changes
    std::string_view profileValue;  // host: the profile value that keeps it; "" when none
};

// The set action, with the rule for the ranges of flags and numbers.
std::optional<SpiSetAction> findSetAction(uint32_t action);

// The action that keeps its value as one profile value, found by its get or
// its set action; isSet tells which one matched.
const SpiSetAction* findProfileAction(uint32_t action, bool& isSet);

}  // namespace si32
