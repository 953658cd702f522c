#pragma once
// The report: the control model printed for people, or as JSON.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace si32 {

class Session;
class Si9x;
struct Control;

// A caption of a frame and the value controls that stand in its row (a text
// box or meter sits under its caption); the drive list's row has no caption.
struct CaptionedRow {
    const Control* caption = nullptr;
    std::vector<const Control*> values;
};
std::vector<CaptionedRow> CaptionedRows(const Si9x& form, const std::string& frame);

struct ReportExtras {
    std::vector<std::string> started;
    std::vector<std::string> messages;
};

// The JSON report's layout; raised when a key changes meaning or goes away.
inline constexpr int kReportSchemaVersion = 1;

// A row of a frame as the window shows it: its caption ("Drive:" for the
// drive list, which has none) and its value, a size pair joined into one
// line, a list box one line per entry. Hidden rows are left out.
struct ShownRow {
    std::string caption;
    std::vector<std::string> lines;
};
struct ShownFrame {
    std::string caption;
    std::vector<ShownRow> rows;
};
std::vector<ShownFrame> ShownRows(const Session& session);

// All three decode the model's texts from the session's code page: what they
// give is UTF-8 whatever bytes the machine held. The text report also shows
// control characters escaped (TerminalText), so it is safe on a terminal; a
// line break of the window (CR LF) continues the value on the next line,
// under the value, never where a caption stands.
std::string ReportText(const Session& session, const ReportExtras& extras);
nlohmann::ordered_json ReportJson(const Session& session, const ReportExtras& extras);

}  // namespace si32
