// si32-report: the start-up sequence on the control model, without a window,
// then the window printed for people or as JSON.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "app/capture.h"
#include "app/command_line.h"
#include "app/program_start.h"
#include "app/report.h"
#include "app/report_frontend.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/capture/capture_file.h"
#include "platform/code_page.h"
#include "platform/guarded.h"
#include "platform/platform.h"
#include "platform/terminal_text.h"

namespace {

using namespace si32;

struct Options {
    bool json = false;
    bool listDrives = false;
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
        "SI32_MACHINE=file.json shows a simulated machine; SI32_PREFIX names the\n"
        "Windows side of this one. See si32-report(1).\n",
    };
}

// The whole report goes out in one write, checked: a report cut short by a
// full disk or a reader that went away must not end with status 0.
int writeOut(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) return 0;
    const int error = errno;
    PrintErrorLine(std::string("si32-report: cannot write the report: ") +
                   (error != 0 ? std::strerror(error) : "write failed"));
    return 1;
}

// The description goes to its file whole or not at all.
int writeCapture(Backend& backend, const Options& options) {
    capture::Privacy privacy;
    privacy.anonymous = options.anonymous;
    if (const char* home = std::getenv("HOME")) privacy.homeDirectory = home;
    std::string text;
    try {
        text = capture::DescriptionText(CaptureMachine(backend, privacy));
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
    return 0;
}

std::string driveList(const Session& session) {
    std::string text;
    for (const auto& entry : session.form.Drive1Entries)
        text += TerminalText(DecodeAnsi(entry, session.CodePage)) + "\n";
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
    // A closed pipe is reported by the write's status, not by a silent death.
    std::signal(SIGPIPE, SIG_IGN);
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
    if (options.capture) return writeCapture(*backend, options);

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

    ReportExtras extras;
    extras.started = backend->platform().files.Started();
    extras.messages = frontend.messages;
    // The texts are decoded already; replacing stays as a last guard.
    return writeOut(
        options.json ? ReportJson(session, extras).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n"
                     : ReportText(session, extras));
}
