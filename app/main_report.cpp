// si32-report: the start-up sequence on the control model, without a window,
// then the window printed for people or as JSON.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/capture.h"
#include "app/command_line.h"
#include "app/program_start.h"
#include "app/report.h"
#include "app/report_frontend.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/capture/capture_file.h"
#include "platform/closed_pipe.h"
#include "platform/code_page.h"
#include "platform/demo_machines.h"
#include "platform/guarded.h"
#include "platform/platform.h"
#include "platform/terminal_text.h"

namespace {

using namespace si32;

struct Options {
    bool json = false;
    bool listDrives = false;
    bool listMachines = false;
    std::string drive;
    int clicks = 0;
    bool capture = false;
    std::string captureFile;  // empty: standard output
    bool anonymous = false;
};

std::string setFlag(bool& flag) {
    flag = true;
    return {};
}

CommandLine reportCommandLine(Options& o) {
    return {
        "si32-report",
        "Runs the window's start-up without a window and prints what the window shows.",
        {
            {"--json", OptionValue::None, "", "print the window as JSON (its controls and fields)",
             [&](std::string_view) { return setFlag(o.json); }},
            {"--drive", OptionValue::Required, "X", "pick drive X in the drive list after start-up",
             [&](std::string_view v) {
                 o.drive = std::string(v);
                 return std::string();
             }},
            {"--list-drives", OptionValue::None, "", "print the drive list as the window shows it",
             [&](std::string_view) { return setFlag(o.listDrives); }},
            {"--list-machines", OptionValue::None, "", "print the demo machines SI32_MACHINE takes by name",
             [&](std::string_view) { return setFlag(o.listMachines); }},
            {"--click", OptionValue::None, "", "press \"&MS System Info\" once (may be repeated)",
             [&](std::string_view) {
                 ++o.clicks;
                 return std::string();
             }},
            {"--capture", OptionValue::Optional, "FILE", "write this machine's description (default: standard output)",
             [&](std::string_view v) {
                 o.capture = true;
                 o.captureFile = std::string(v);
                 return std::string();
             }},
            {"--anonymous", OptionValue::None, "", "with --capture: names, labels, serials, home replaced",
             [&](std::string_view) { return setFlag(o.anonymous); }},
        },
        "SI32_MACHINE=file.json (or a demo machine's name) shows a simulated\n"
        "machine; SI32_PREFIX names the Windows side of this one. See si32-report(1).\n",
    };
}

// The whole report goes out in one write, checked: a report cut short by a
// full disk must not end with status 0.
int writeOut(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) return 0;
    const int error = errno;
    if (error == EPIPE) EndOnClosedPipe();
    PrintErrorLine(std::string("si32-report: cannot write the report: ") +
                   (error != 0 ? std::strerror(error) : "write failed"));
    return 1;
}

std::string reportJson(const Session& session, const std::vector<std::string>& started,
                       const ReportFrontend& frontend) {
    ReportExtras extras;
    extras.started = started;
    extras.messages = frontend.messages;
    // The texts are decoded already; replacing stays as a last guard.
    return ReportJson(session, extras).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

// The description goes to its file whole or not at all. With --json the
// window it was read from goes to standard output: the report its replay
// must give.
int writeCapture(Backend& backend, const ReportFrontend& frontend, const Options& options) {
    capture::Privacy privacy;
    privacy.anonymous = options.anonymous;
    if (const char* home = std::getenv("HOME")) privacy.homeDirectory = home;
    std::string text, shown;
    CaptureSteps steps;
    steps.firstDrive = options.drive;
    if (options.json)
        steps.afterFirstDrive = [&](const Session& session) {
            shown = reportJson(session, backend.platform().files.Started(), frontend);
        };
    try {
        text = capture::DescriptionText(CaptureMachine(backend, privacy, steps));
    } catch (const std::exception& e) {
        // A fault of this program, never of the machine: one line, not an abort.
        PrintErrorLine(std::string("si32-report: cannot capture this machine: ") + e.what());
        return 1;
    }
    if (options.captureFile.empty() || options.captureFile == "-") return writeOut(text);
    if (auto error = capture::WriteFileWhole(options.captureFile, text)) {
        PrintErrorLine("si32-report: cannot write the capture: " + *error);
        return 1;
    }
    return options.json ? writeOut(shown) : 0;
}

// Name and description in two columns, the names padded to the longest;
// both come from files anyone may have written, so escaped as the report is.
std::string machineList(const std::vector<DemoMachine>& machines) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::size_t width = 0;
    for (const DemoMachine& m : machines) {
        rows.emplace_back(TerminalText(m.name), TerminalText(m.description));
        width = std::max(width, rows.back().first.size());
    }
    std::string text;
    for (const auto& [name, description] : rows) {
        std::string line = name;
        if (!description.empty()) line += std::string(width - name.size() + 2, ' ') + description;
        text += line + "\n";
    }
    return text;
}

std::string driveList(const Session& session) {
    std::string text;
    for (const auto& entry : session.form.Drive1Entries)
        text += TerminalText(DecodeAnsi(DriveListText(entry), session.CodePage)) + "\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = HandleCommandLine(reportCommandLine(options), argc, argv); status >= 0) return status;
    if (options.anonymous && !options.capture) {
        PrintErrorLine("si32-report: --anonymous goes with --capture");
        return 2;
    }
    if (options.capture && options.json && (options.captureFile.empty() || options.captureFile == "-")) {
        PrintErrorLine("si32-report: --capture with --json writes the capture to a FILE");
        return 2;
    }
    // A closed pipe is seen at the report's one checked write, not as a death
    // halfway through it.
    IgnoreClosedPipe();
    if (options.listMachines) return writeOut(machineList(listDemoMachines()));
    // A display that accepts and never answers costs the run one time limit
    // (every later question to it fails at once); the user learns why its
    // facts are missing.
    if (probeX11Display() == DisplayAnswer::Silent)
        PrintErrorLine(std::string("si32-report: the display does not answer (DISPLAY=") + std::getenv("DISPLAY") +
                       "); the screen facts are left out");

    ReportFrontend frontend;
    BackendStart start = StartBackend(frontend, Program::Report, "si32-report");
    if (!start.backend) return start.exitStatus;
    std::unique_ptr<Backend> backend = std::move(start.backend);
    if (options.capture) return writeCapture(*backend, frontend, options);

    Session session(backend->platform());
    Form_Load(session);
    if (!session.RefusedSecondInstance) {
        Form_Activate(session);
        if (!options.drive.empty()) {
            if (!guarded([&] { session.form.SetDrive1(options.drive); })) {
                PrintErrorLine("si32-report: no drive " + options.drive + " in the drive list");
                return 2;
            }
        }
        for (int i = 0; i < options.clicks; ++i) session.mod.Command2_Click();
    }
    if (options.listDrives) return writeOut(driveList(session));

    if (options.json) return writeOut(reportJson(session, backend->platform().files.Started(), frontend));
    ReportExtras extras;
    extras.started = backend->platform().files.Started();
    extras.messages = frontend.messages;
    return writeOut(ReportText(session, extras));
}
