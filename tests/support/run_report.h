#pragma once
// Runs a built program (si32-report, si32) as its own process, with the environment given
// and nothing else, and keeps what it printed.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/child_process.h"

namespace si32::testsupport {

using ReportRun = ChildEnd;

// argv[0] a path.
inline ReportRun runCommand(std::vector<std::string> argv, std::vector<std::string> env) {
    return runChild(std::move(argv), std::move(env));
}

// One of the built programs (bin/program).
inline ReportRun runProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& env) {
    const char* bin = std::getenv("SI32_BINARY_DIR");
    std::vector<std::string> argv{std::string(bin != nullptr ? bin : ".") + "/bin/" + program};
    argv.insert(argv.end(), args.begin(), args.end());
    return runCommand(std::move(argv), env);
}

inline ReportRun runReport(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    return runProgram("si32-report", args, env);
}

}  // namespace si32::testsupport
