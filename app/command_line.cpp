#include "app/command_line.h"

#include <algorithm>
#include <cstdio>

#include "app/build_info.h"
#include "platform/terminal_text.h"

namespace si32 {
namespace {

std::string failure(const CommandLine& line, std::string_view what) {
    return std::string(line.program) + ": " + std::string(what) + " (see " + std::string(line.program) + " --help)\n";
}

const OptionRow* find(const CommandLine& line, std::string_view name) {
    const auto row =
        std::find_if(line.options.begin(), line.options.end(), [&](const OptionRow& r) { return r.name == name; });
    return row == line.options.end() ? nullptr : &*row;
}

std::string optionHead(const OptionRow& row) {
    std::string head(row.name);
    if (row.value == OptionValue::Required) head += " " + std::string(row.valueName);
    if (row.value == OptionValue::Optional) head += " [" + std::string(row.valueName) + "]";
    return head;
}

}  // namespace

std::string VersionText(std::string_view program) {
    std::string text = std::string(program) + " " + std::string(BuildVersion());
    if (!BuildCommit().empty()) text += " (commit " + std::string(BuildCommit()) + ")";
    return text + "\n";
}

std::string UsageText(const CommandLine& line) {
    std::string text = "usage: " + std::string(line.program);
    for (const OptionRow& row : line.options) text += " [" + optionHead(row) + "]";
    text += "\n" + std::string(line.summary) + "\n\n";
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const OptionRow& row : line.options) rows.emplace_back(optionHead(row), row.help);
    rows.emplace_back("--help", "print this help and exit");
    rows.emplace_back("--version", "print the version and exit");
    std::size_t width = 0;
    for (const auto& [head, help] : rows) width = std::max(width, head.size());
    for (const auto& [head, help] : rows)
        text += "  " + head + std::string(width - head.size() + 2, ' ') + std::string(help) + "\n";
    if (!line.epilogue.empty()) text += "\n" + std::string(line.epilogue);
    return text;
}

ParseResult ParseCommandLine(const CommandLine& line, std::span<const char* const> args) {
    ParseResult result;
    auto stop = [&](std::string error) {
        result.outcome = ParseOutcome::ExitUsage;
        result.error = std::move(error);
        return result;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            return {ParseOutcome::ExitSuccess, UsageText(line), {}};
        }
        if (arg == "--version") return {ParseOutcome::ExitSuccess, VersionText(line.program), {}};
        const std::size_t equals = arg.find('=');
        const bool inline_value = arg.starts_with("--") && equals != std::string_view::npos;
        const std::string_view name = inline_value ? arg.substr(0, equals) : arg;
        const OptionRow* row = find(line, name);
        if (row == nullptr) {
            return stop(failure(line, arg.starts_with("-") ? "unknown option '" + std::string(name) + "'"
                                                           : "unexpected argument '" + std::string(arg) + "'"));
        }
        std::string_view value;
        if (inline_value) {
            if (row->value == OptionValue::None) return stop(failure(line, std::string(name) + " takes no value"));
            value = arg.substr(equals + 1);
        } else if (row->value == OptionValue::Required) {
            if (i + 1 >= args.size())
                return stop(failure(line, std::string(name) + " needs a value (" + std::string(row->valueName) + ")"));
            value = args[++i];
        } else if (row->value == OptionValue::Optional && i + 1 < args.size() &&
                   !std::string_view(args[i + 1]).starts_with("-")) {
            value = args[++i];
        }
        if (row->value == OptionValue::Required && value.empty())
            return stop(failure(line, std::string(name) + " needs a value (" + std::string(row->valueName) + ")"));
        if (std::string error = row->apply(value); !error.empty()) return stop(failure(line, error));
    }
    return result;
}

int HandleCommandLine(const CommandLine& line, int argc, char** argv) {
    const std::span<const char* const> args(argv + (argc > 0 ? 1 : 0),
                                            argc > 0 ? static_cast<std::size_t>(argc - 1) : 0);
    const ParseResult result = ParseCommandLine(line, args);
    // Through stdio, as the report itself writes: the C++ streams would be
    // set up at every start for this one line.
    const bool written = std::fwrite(result.output.data(), 1, result.output.size(), stdout) == result.output.size() &&
                         std::fflush(stdout) == 0;
    // The error quotes what was typed, which may hold any byte.
    if (!result.error.empty())
        PrintErrorLine(std::string_view(result.error).substr(0, result.error.find_last_not_of('\n') + 1));
    switch (result.outcome) {
        case ParseOutcome::Run: return -1;
        case ParseOutcome::ExitSuccess: return written ? 0 : 1;
        case ParseOutcome::ExitUsage: return 2;
    }
    return 2;
}

}  // namespace si32
