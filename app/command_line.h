#pragma once
// The command-line conventions both programs keep: a table of options,
// "--name value" and "--name=value" alike, --help and --version answered
// without touching the machine, and one line with status 2 for anything
// the table does not know.
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace si32 {

enum class OptionValue { None, Required, Optional };

struct OptionRow {
    std::string_view name;  // "--drive"
    OptionValue value = OptionValue::None;
    std::string_view valueName;  // "X" in the usage; empty for a flag
    std::string_view help;
    // Receives the value (empty for a flag or an omitted optional value).
    // Returns an error text for a value it cannot take, else "".
    std::function<std::string(std::string_view value)> apply;
};

struct CommandLine {
    std::string_view program;  // "si32-report"
    std::string_view summary;  // one line on what the program does
    std::vector<OptionRow> options;
    std::string_view epilogue;  // printed after the options by --help
};

enum class ParseOutcome { Run, ExitSuccess, ExitUsage };

struct ParseResult {
    ParseOutcome outcome = ParseOutcome::Run;
    std::string output;  // for standard output: the help or version text
    std::string error;   // for standard error: one line, ending in '\n'
};

// args excludes the program name. A value that starts with "-" is not taken
// as an optional value, so "--capture --json" reads as two options.
ParseResult ParseCommandLine(const CommandLine& line, std::span<const char* const> args);

std::string UsageText(const CommandLine& line);
// "si32-report 2005.20 (commit 1a2b3c4)", without the commit when unknown.
std::string VersionText(std::string_view program);

// Parses argv and writes what the parse says to write. Returns the exit
// status when the program is to end now, -1 when it is to run.
int HandleCommandLine(const CommandLine& line, int argc, char** argv);

}  // namespace si32
