#pragma once
// The separators and month names of the user's regional settings, read anew
// for every call so that a change of settings shows at once.
#include <array>
#include <string>

#include "platform/regional.h"

namespace si32 {

struct RegionalSettings {
    std::string decimal = ".";
    std::string thousands = ",";
    std::array<std::string, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};

// Where a setting cannot be read, the English default stands.
RegionalSettings CurrentRegionalSettings(Regional& regional, bool withMonths = false);

}  // namespace si32
