// si32-report: the start-up sequence on the control model, without a window,
// then the window printed for people or as JSON.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/capture.h"
#include "app/program_start.h"
#include "app/report.h"
#include "app/report_frontend.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/capture/capture_file.h"
#include "platform/guarded.h"
#include "platform/platform.h"

namespace {

constexpr const char* kUsage =
    "usage: si32-report [--json] [--drive X] [--click]...\n"
    "       si32-report --capture [FILE] [--anonymous]\n"
    "  --json      print the window's controls as JSON\n"
    "  --drive X   pick drive X in the drive list after start-up\n"
    "  --click     press \"&MS System Info\" once (may be repeated)\n"
    "  --capture [FILE]  write this machine's description to FILE (default:\n"
    "              standard output), to show it anywhere with SI32_MACHINE=FILE\n"
    "  --anonymous with --capture: names, volume labels and serials, and the\n"
    "              home directory replaced by placeholders\n"
    "SI32_MACHINE=file.json selects a simulated machine.\n";

struct Options {
    bool json = false;
    std::string drive;
    int clicks = 0;
    bool capture = false;
    std::string captureFile;  // empty: standard output
    bool anonymous = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--click") {
            ++options.clicks;
        } else if (arg == "--drive" && i + 1 < argc) {
            options.drive = argv[++i];
        } else if (arg == "--capture") {
            options.capture = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') options.captureFile = argv[++i];
        } else if (arg == "--anonymous") {
            options.anonymous = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else {
            std::cerr << "si32-report: unknown argument '" << arg << "'\n" << kUsage;
            return false;
        }
    }
    if (options.anonymous && !options.capture) {
        std::cerr << "si32-report: --anonymous needs --capture\n" << kUsage;
        return false;
    }
    return true;
}

int writeCapture(si32::Backend& backend, const Options& options) {
    si32::capture::Privacy privacy;
    privacy.anonymous = options.anonymous;
    if (const char* home = std::getenv("HOME")) privacy.homeDirectory = home;
    const std::string text = si32::capture::DescriptionText(si32::CaptureMachine(backend, privacy));
    if (options.captureFile.empty() || options.captureFile == "-") {
        std::cout << text << std::flush;
        return std::cout ? 0 : 1;
    }
    if (auto error = si32::capture::WriteFileWhole(options.captureFile, text)) {
        std::cerr << "si32-report: cannot write the capture: " << *error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace si32;
    Options options;
    if (!parse(argc, argv, options)) return 2;

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
                std::cerr << "si32-report: no drive " << options.drive << " in the drive list\n";
                return 2;
            }
        }
        for (int i = 0; i < options.clicks; ++i) session.mod.Command2_Click();
    }

    ReportExtras extras;
    extras.started = backend->platform().files.Started();
    extras.messages = frontend.messages;
    if (options.json)
        std::cout << ReportJson(session, extras).dump(2) << "\n";
    else
        std::cout << ReportText(session, extras);
    return 0;
}
