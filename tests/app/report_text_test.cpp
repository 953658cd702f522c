// The plain report on a terminal: whatever a machine's texts hold, the
// report shows it escaped, keeps each value on its own line, and leaves
// printable text (any script) as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "window/layout.h"

namespace si32 {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Bytes a terminal acts on: C0 controls but the report's own line breaks,
// DEL, and C1 controls in their UTF-8 form.
bool hasControl(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) return true;
    }
    return false;
}

TEST(ReportText, ControlCharactersInValuesAreShownEscapedOnTheirLine) {
    const std::string machineText =
        nlohmann::json{
            {"version", {{"platform_id", 2}, {"major", 5}, {"minor", 1}, {"build", 2600}}},
            {"computer_name", "PLAIN"},
        }
            .dump();
    testsupport::RecordingFrontend frontend;
    SimMachine machine(SimMachine::Text{machineText, "plain.json", "."}, frontend);
    Session session(machine.platform());
    Form_Load(session);
    const std::size_t plainLines = linesOf(ReportText(session, {})).size();

    const struct {
        const char* what;
        std::string value;
        std::string shown;  // the value as the computer-name line shows it
    } cases[] = {
        {"screen clear", "\x1b[2J\x1b[H", "\\e[2J\\e[H"},
        {"window title", "\x1b]0;owned\x07", "\\e]0;owned\\a"},
        {"clipboard write (OSC 52)", "\x1b]52;c;cm0gLXJmIH4=\x1b\\", "\\e]52;c;cm0gLXJmIH4=\\e\\"},
        {"forged line", "PC\n  Current User:         root", "PC\\n  Current User:         root"},
        {"carriage return over the caption", "PC\rComputer Name:  X", "PC\\rComputer Name:  X"},
        {"NUL", std::string("PC\0X", 4), "PC\\x00X"},
        {"other C0 and DEL", "\x01\x08\x7f", "\\x01\\b\\x7f"},
        {"C1 CSI",
         "\xc2\x9b"
         "31mred",
         "\\xc2\\x9b31mred"},
        {"valid UTF-8 passes", "Zo\xc3\xab \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x99\x82 \xc2\xa0\xc2\xbb",
         "Zo\xc3\xab \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x99\x82 \xc2\xa0\xc2\xbb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        session.form.Label2(label2::ComputerName).text = c.value;
        const std::string report = ReportText(session, {});
        EXPECT_FALSE(hasControl(report));
        const auto lines = linesOf(report);
        EXPECT_EQ(lines.size(), plainLines);
        const auto row = std::find_if(lines.begin(), lines.end(),
                                      [](const std::string& l) { return l.starts_with("  Computer Name:"); });
        ASSERT_NE(row, lines.end());
        EXPECT_TRUE(row->ends_with(" " + c.shown)) << *row;
        // JSON stays exact.
        EXPECT_EQ(ReportJson(session, {})["controls"]["Label2(3)"]["text"], c.value);
    }
}

TEST(ReportText, AWindowLineBreakContinuesUnderTheValueNeverAsARow) {
    const std::string machineText = nlohmann::json{{"computer_name", "PLAIN"}, {"user_name", "alice"}}.dump();
    testsupport::RecordingFrontend frontend;
    SimMachine machine(SimMachine::Text{machineText, "plain.json", "."}, frontend);
    Session session(machine.platform());
    Form_Load(session);
    const auto userRows = [&] {
        const auto lines = linesOf(ReportText(session, {}));
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.starts_with("  Current User:"); });
    };
    const auto plain = userRows();
    session.form.Label2(label2::ComputerName).text = "PC\r\n  Current User:         root";
    EXPECT_EQ(userRows(), plain);
}

}  // namespace
}  // namespace si32
