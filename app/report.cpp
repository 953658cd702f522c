#include "app/report.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "app/session.h"
#include "platform/code_page.h"
#include "platform/terminal_text.h"
#include "window/layout.h"

namespace si32 {
namespace {

bool isCaption(const Control& c) {
    return c.kind == ControlKind::Label &&
           (c.name == "Label1" || c.name == "Label4" || c.name == "Label5" || c.name == "Label6" || c.name == "Label9");
}

}  // namespace

std::vector<CaptionedRow> CaptionedRows(const Si9x& form, const std::string& frame) {
    std::vector<const Control*> inFrame;
    for (const auto& c : form.controls())
        if (c.container == frame && c.kind != ControlKind::Button) inFrame.push_back(&c);
    // Rows are 240 twips apart; a value set a little lower than its caption
    // (the second unit of a size) still falls in the caption's row.
    auto rowKey = [](const Control* c) { return c->geometry.top / 100; };
    std::stable_sort(inFrame.begin(), inFrame.end(), [&](const Control* a, const Control* b) {
        if (rowKey(a) != rowKey(b)) return rowKey(a) < rowKey(b);
        if (isCaption(*a) != isCaption(*b)) return isCaption(*a);
        return a->geometry.left < b->geometry.left;
    });
    std::vector<CaptionedRow> rows;
    for (const Control* c : inFrame) {
        if (isCaption(*c) || rows.empty()) rows.push_back({});
        if (isCaption(*c)) rows.back().caption = c;
        else rows.back().values.push_back(c);
    }
    return rows;
}

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out.push_back(line);
            line.clear();
            ++i;
        } else {
            line += text[i];
        }
    }
    out.push_back(line);
    return out;
}

std::string valueText(const Control& c) {
    if (c.kind == ControlKind::Meter) return std::to_string(c.percent) + "%";
    return c.text;
}

constexpr std::size_t kCaptionWidth = 24;

}  // namespace
std::vector<ShownFrame> ShownRows(const Session& session) {
    const Si9x& form = session.form;
    std::vector<ShownFrame> frames;
    for (const char* frame : {"SSFrame1", "SSFrame2", "SSFrame3"}) {
        ShownFrame& shown = frames.emplace_back(ShownFrame{form.control(frame).text, {}});
        for (const CaptionedRow& row : CaptionedRows(form, frame)) {
            if (row.caption != nullptr && !row.caption->visible) continue;
            ShownRow& out =
                shown.rows.emplace_back(ShownRow{row.caption != nullptr ? row.caption->text : "Drive:", {}});
            std::vector<std::string>& value = out.lines;
            for (const Control* v : row.values) {
                if (!v->visible) continue;
                const auto vl = lines(valueText(*v));
                if (v->kind == ControlKind::TextBox) {
                    // A text box stands under its row, one line each.
                    if (!v->text.empty()) value.insert(value.end(), vl.begin(), vl.end());
                } else if (value.empty()) {
                    value = vl;
                } else {
                    // The second unit of a size follows its number.
                    value.back() += " " + vl.front();
                    value.insert(value.end(), vl.begin() + 1, vl.end());
                }
            }
            if (value.empty()) value.push_back("");
        }
    }
    // What is shown is decoded from the machine's code page.
    for (ShownFrame& frame : frames) {
        frame.caption = DecodeAnsi(frame.caption, session.CodePage);
        for (ShownRow& row : frame.rows) {
            row.caption = DecodeAnsi(row.caption, session.CodePage);
            for (std::string& line : row.lines) line = DecodeAnsi(line, session.CodePage);
        }
    }
    return frames;
}

std::string ReportText(const Session& session, const ReportExtras& extras) {
    // Every text is the machine's, shown escaped: only the lines the report
    // makes itself break the output, and nothing reaches the terminal as a
    // control sequence.
    const auto shown = [&](const std::string& text) { return TerminalText(DecodeAnsi(text, session.CodePage)); };
    std::ostringstream out;
    out << kWindowCaption << "\n";
    for (const ShownFrame& frame : ShownRows(session)) {
        out << "\n" << TerminalText(frame.caption) << "\n";
        for (const ShownRow& row : frame.rows) {
            for (std::size_t i = 0; i < row.lines.size(); ++i) {
                std::string head = i == 0 ? TerminalText(row.caption) : "";
                head.resize(std::max(head.size() + 1, kCaptionWidth), ' ');
                std::string line = "  " + head + TerminalText(row.lines[i]);
                while (!line.empty() && line.back() == ' ') line.pop_back();
                out << line << "\n";
            }
        }
    }
    if (!extras.started.empty()) {
        out << "\nStarted\n";
        for (const auto& s : extras.started) out << "  " << shown(s) << "\n";
    }
    if (!extras.messages.empty()) {
        out << "\nMessages\n";
        for (const auto& m : extras.messages)
            for (const auto& l : lines(DecodeAnsi(m, session.CodePage))) out << "  " << TerminalText(l) << "\n";
    }
    return out.str();
}

nlohmann::ordered_json ReportJson(const Session& session, const ReportExtras& extras) {
    const auto shown = [&](const std::string& text) { return DecodeAnsi(text, session.CodePage); };
    const auto allShown = [&](const std::vector<std::string>& texts) {
        std::vector<std::string> decoded;
        for (const std::string& text : texts) decoded.push_back(shown(text));
        return decoded;
    };
    nlohmann::ordered_json json;
    json["schema_version"] = kReportSchemaVersion;
    json["caption"] = kWindowCaption;
    json["os_family"] = static_cast<int32_t>(session.mod.OsFamily);
    auto& controls = json["controls"] = nlohmann::ordered_json::object();
    for (const auto& c : session.form.controls()) {
        nlohmann::ordered_json entry;
        if (c.kind == ControlKind::Meter) {
            entry["percent"] = c.percent;
        } else if (c.kind == ControlKind::DriveList) {
            entry["drive"] = shown(c.text);
        } else {
            entry["text"] = shown(c.text);
        }
        entry["visible"] = c.visible;
        if (!c.tooltip.empty()) entry["tooltip"] = shown(c.tooltip);
        controls[c.key()] = entry;
    }
    // What a script wants without the layout table: the rows as shown.
    auto& fields = json["fields"] = nlohmann::ordered_json::object();
    for (const ShownFrame& frame : ShownRows(session)) {
        auto& rows = fields[frame.caption] = nlohmann::ordered_json::object();
        for (const ShownRow& row : frame.rows) {
            std::string joined;
            for (const auto& line : row.lines) joined += (joined.empty() ? "" : "\n") + line;
            // A heading and the meter under it share a caption ("Physical
            // Memory"); the one that shows a value keeps the key.
            if (!rows.contains(row.caption) || !joined.empty()) rows[row.caption] = joined;
        }
    }
    json["started"] = allShown(extras.started);
    json["messages"] = allShown(extras.messages);
    return json;
}

}  // namespace si32
