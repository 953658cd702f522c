// si32-report as a shell runs it: the demo machines by name, and where its
// output can go wrong (a reader that went away ends the report quietly, as
// it ends cat; a full disk is an error the user must see).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_report.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/source_dir.h"
#include "tests/support/x_server.h"

namespace si32 {
namespace {

std::vector<std::string> withMachine(const std::string& value) {
    std::vector<std::string> env = testsupport::environmentWithout({"SI32_MACHINE"});
    env.push_back("SI32_MACHINE=" + value);
    return env;
}

// The report with its standard output on fd, started the way a shell starts
// a command.
testsupport::ChildEnd reportInto(int out, const std::vector<std::string>& args, const std::string& machine) {
    std::vector<std::string> argv{testsupport::binaryDir() + "/bin/si32-report"};
    argv.insert(argv.end(), args.begin(), args.end());
    testsupport::ChildOptions options;
    options.stdoutFd = out;
    options.shellSignals = true;
    return testsupport::runChild(std::move(argv), withMachine(machine), options);
}

const std::vector<std::vector<std::string>> kEveryOutput = {{}, {"--json"}, {"--list-drives"}, {"--capture"}};

std::string machine() { return testsupport::sourceDir() + "/machines/win98.json"; }

TEST(ReportOutput, AClosedPipeEndsItQuietlyByTheSignal) {
    for (const auto& args : kEveryOutput) {
        SCOPED_TRACE(args.empty() ? "the report" : args[0]);
        int pipefd[2];
        ASSERT_EQ(::pipe(pipefd), 0);
        ::close(pipefd[0]);
        const testsupport::ChildEnd ended = reportInto(pipefd[1], args, machine());
        ::close(pipefd[1]);
        EXPECT_EQ(ended.signal, SIGPIPE) << "exit status " << ended.status;
        EXPECT_EQ(ended.err, "");
    }
}

TEST(ReportOutput, AFullDiskIsOneLineAndStatusOne) {
    const int full = ::open("/dev/full", O_WRONLY);
    if (full < 0) GTEST_SKIP() << "no /dev/full here";
    for (const auto& args : kEveryOutput) {
        SCOPED_TRACE(args.empty() ? "the report" : args[0]);
        const testsupport::ChildEnd ended = reportInto(full, args, machine());
        EXPECT_EQ(ended.status, 1);
        EXPECT_EQ(std::count(ended.err.begin(), ended.err.end(), '\n'), 1) << ended.err;
        EXPECT_NE(ended.err.find("No space left on device"), std::string::npos) << ended.err;
    }
    ::close(full);
}

TEST(ReportMachines, ADemoMachineByItsBareNameIsTheMachineOfTheTree) {
    const auto byName = testsupport::runReport({"--json"}, withMachine("win98se"));
    ASSERT_EQ(byName.status, 0) << byName.err;
    const auto byPath =
        testsupport::runReport({"--json"}, withMachine(testsupport::sourceDir() + "/machines/win98se.json"));
    EXPECT_EQ(byName.out, byPath.out);

    const auto unknown = testsupport::runReport({}, withMachine("win99"));
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 1) << unknown.err;
    EXPECT_TRUE(unknown.out.empty());
}

TEST(ReportMachines, ASimulatedMachineWithoutADisplayLoadsNoneOfTheHostsLibraries) {
    std::vector<std::string> env = testsupport::environmentWithout({"SI32_MACHINE", "DISPLAY", "WAYLAND_DISPLAY"});
    env.push_back("SI32_MACHINE=win98se");
    env.push_back("LD_DEBUG=libs");
    const auto run = testsupport::runReport({"--json"}, env);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_NE(run.err.find("calling init"), std::string::npos) << "this C library does not trace its loading";
    for (const char* soname :
         {"libblkid.so", "libudev.so", "libmount.so", "libasound.so", "libcups.so", "libX11.so", "libxkbregistry.so"})
        EXPECT_EQ(run.err.find(soname), std::string::npos) << soname;
}

TEST(ReportDisplay, OneConnectionToTheServerForTheWholeRun) {
    // The server's audit log names every client that connects.
    testsupport::XServer server({"-audit", "4", "-screen", "0", "1024x768x24"});
    if (!server.ready()) GTEST_SKIP() << "Xvfb (Debian package xvfb) is not installed";
    std::vector<std::string> env = testsupport::environmentWithout({"SI32_MACHINE", "DISPLAY", "XAUTHORITY"});
    for (const std::string& variable : server.environment()) env.push_back(variable);
    const auto run = testsupport::runReport({}, env);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("1024 x 768"), std::string::npos) << run.out;
    const std::string log = server.log();
    std::size_t connections = 0;
    for (std::size_t at = 0; (at = log.find("connected from", at)) != std::string::npos; ++at) ++connections;
    EXPECT_EQ(connections, 1u) << log;
}

TEST(ReportMachines, TheListNamesEveryDemoMachineOnceWithItsDescription) {
    const auto listed = testsupport::runReport({"--list-machines"}, withMachine(""));
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::set<std::string> expected, names;
    for (const auto& file : std::filesystem::directory_iterator(testsupport::sourceDir() + "/machines"))
        if (file.path().extension() == ".json") expected.insert(file.path().stem().string());
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
        const std::string name = line.substr(0, line.find(' '));
        EXPECT_TRUE(names.insert(name).second) << line;
        EXPECT_NE(line.find("Windows"), std::string::npos) << "a description follows the name: " << line;
        // Each line is a name SI32_MACHINE takes.
        EXPECT_TRUE(expected.count(name)) << line;
    }
    EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace si32
