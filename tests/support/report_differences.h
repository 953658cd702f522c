#pragma once
// Two JSON reports of one window compared member by member, so that a
// failure names the fields that differ instead of printing both reports.
#include <string>

#include <nlohmann/json.hpp>

namespace si32::testsupport {

// Each member that differs as "name: replayed | shown"; the controls one by
// one. Empty when the reports agree.
inline std::string reportDifferences(nlohmann::ordered_json replayed, const nlohmann::ordered_json& shown) {
    std::string out;
    for (const auto& [key, value] : shown.items()) {
        if (key == "controls") {
            for (const auto& [name, control] : value.items())
                if (replayed["controls"][name] != control)
                    out += name + ": " + replayed["controls"][name].dump() + " | " + control.dump() + "\n";
        } else if (replayed[key] != value) {
            out += key + ": " + replayed[key].dump() + " | " + value.dump() + "\n";
        }
    }
    for (const auto& [key, value] : replayed.items())
        if (!shown.contains(key)) out += key + ": " + value.dump() + " | (absent)\n";
    return out;
}

}  // namespace si32::testsupport
