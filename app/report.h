#pragma once
// The report: the control model printed for people, or as JSON.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace si32 {

class Session;

struct ReportExtras {
    std::vector<std::string> started;
    std::vector<std::string> messages;
};

// Both decode the model's texts from the session's code page: what they
// print is UTF-8 whatever bytes the machine gave.
std::string ReportText(const Session& session, const ReportExtras& extras);
nlohmann::ordered_json ReportJson(const Session& session, const ReportExtras& extras);

}  // namespace si32
