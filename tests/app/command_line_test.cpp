// The command-line conventions both programs keep, over a table like
// si32-report's: values joined or apart, optional values, and one line with
// status 2 for what the table does not know.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/build_info.h"
#include "app/command_line.h"

namespace si32 {
namespace {

struct Parsed {
    bool json = false;
    std::string drive;
    int clicks = 0;
    std::string capture = "(none)";
};

CommandLine table(Parsed& p) {
    return {"tool",
            "Does a thing.",
            {
                {"--json", OptionValue::None, "", "as JSON",
                 [&](std::string_view) {
                     p.json = true;
                     return std::string();
                 }},
                {"--drive", OptionValue::Required, "X", "pick X",
                 [&](std::string_view v) {
                     if (v.size() != 1) return std::string("--drive takes one letter");
                     p.drive = std::string(v);
                     return std::string();
                 }},
                {"--click", OptionValue::None, "", "press",
                 [&](std::string_view) {
                     ++p.clicks;
                     return std::string();
                 }},
                {"--capture", OptionValue::Optional, "FILE", "capture",
                 [&](std::string_view v) {
                     p.capture = std::string(v);
                     return std::string();
                 }},
            },
            "More words.\n"};
}

TEST(CommandLine, ParsesValuesJoinedOrApartAndRefusesWhatItDoesNotKnow) {
    struct Case {
        std::vector<const char*> args;
        ParseOutcome outcome;
        std::string error;  // the one line on standard error
        std::string drive;
        int clicks;
        std::string capture;
    };
    const Case cases[] = {
        {{}, ParseOutcome::Run, "", "", 0, "(none)"},
        {{"--drive", "d", "--click", "--click"}, ParseOutcome::Run, "", "d", 2, "(none)"},
        {{"--drive=e"}, ParseOutcome::Run, "", "e", 0, "(none)"},
        {{"--capture"}, ParseOutcome::Run, "", "", 0, ""},
        {{"--capture", "out.json"}, ParseOutcome::Run, "", "", 0, "out.json"},
        {{"--capture", "--click"}, ParseOutcome::Run, "", "", 1, ""},
        {{"--capture=a=b"}, ParseOutcome::Run, "", "", 0, "a=b"},
        {{"--bogus"}, ParseOutcome::ExitUsage, "tool: unknown option '--bogus' (see tool --help)\n", "", 0, "(none)"},
        {{"--bogus=1"}, ParseOutcome::ExitUsage, "tool: unknown option '--bogus' (see tool --help)\n", "", 0, "(none)"},
        {{"stray"}, ParseOutcome::ExitUsage, "tool: unexpected argument 'stray' (see tool --help)\n", "", 0, "(none)"},
        {{"--drive"}, ParseOutcome::ExitUsage, "tool: --drive needs a value (X) (see tool --help)\n", "", 0, "(none)"},
        {{"--drive="}, ParseOutcome::ExitUsage, "tool: --drive needs a value (X) (see tool --help)\n", "", 0, "(none)"},
        {{"--drive", "cd"},
         ParseOutcome::ExitUsage,
         "tool: --drive takes one letter (see tool --help)\n",
         "",
         0,
         "(none)"},
        {{"--json=yes"}, ParseOutcome::ExitUsage, "tool: --json takes no value (see tool --help)\n", "", 0, "(none)"},
        {{"--click", "--help", "--bogus"}, ParseOutcome::ExitSuccess, "", "", 1, "(none)"},
        {{"--version"}, ParseOutcome::ExitSuccess, "", "", 0, "(none)"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const char* a : c.args) shown += std::string(a) + " ";
        SCOPED_TRACE(shown);
        Parsed parsed;
        const ParseResult result = ParseCommandLine(table(parsed), c.args);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.output.empty(), c.outcome != ParseOutcome::ExitSuccess);
        if (c.outcome == ParseOutcome::ExitUsage) continue;
        EXPECT_EQ(parsed.drive, c.drive);
        EXPECT_EQ(parsed.clicks, c.clicks);
        EXPECT_EQ(parsed.capture, c.capture);
    }
}

TEST(CommandLine, HelpListsEveryRowAndVersionNamesTheProgram) {
    Parsed parsed;
    const std::vector<const char*> help{"--help"};
    const std::string usage = ParseCommandLine(table(parsed), help).output;
    EXPECT_EQ(usage.rfind("usage: tool [--json] [--drive X] [--click] [--capture [FILE]]\nDoes a thing.\n", 0), 0u)
        << usage;
    for (const char* line : {"\n  --drive X         pick X\n", "\n  --capture [FILE]  capture\n",
                             "\n  --version         print the version and exit\n"})
        EXPECT_NE(usage.find(line), std::string::npos) << line << "in\n" << usage;
    EXPECT_TRUE(usage.ends_with("\nMore words.\n"));

    const std::vector<const char*> version{"--version"};
    const std::string text = ParseCommandLine(table(parsed), version).output;
    EXPECT_EQ(text.rfind("tool " + std::string(BuildVersion()), 0), 0u) << text;
    EXPECT_TRUE(text.ends_with("\n"));
}

}  // namespace
}  // namespace si32
