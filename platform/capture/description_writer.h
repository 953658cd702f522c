#pragma once
// A recording turned into a machine description (the JSON the simulated
// backend reads), members in a fixed order so that two captures diff well,
// and the privacy pass that makes one fit for a public bug report.
#include <string>

#include <nlohmann/json.hpp>

#include "platform/capture/recording.h"

namespace si32::capture {

struct Privacy {
    // Replace the computer, user and owner names, every volume's label and
    // serial, and the home directory with stable placeholders wherever they
    // appear, so the description can be attached to a public bug report.
    bool anonymous = false;
    std::string homeDirectory;  // the host path ("/home/x")
};

nlohmann::ordered_json DescribeMachine(const Recording& recording, const Privacy& privacy = {});

// The recording with the privacy pass applied. homeDirectory: the host path.
Recording Anonymized(const Recording& recording, const std::string& homeDirectory);

// The description as written to a file: two-space indents, a final newline.
std::string DescriptionText(const nlohmann::ordered_json& description);

}  // namespace si32::capture
