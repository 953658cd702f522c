// si32-report: the start-up sequence on the control model, without a window,
// then the window printed for people or as JSON.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/program_start.h"
#include "app/report.h"
#include "app/report_frontend.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/guarded.h"
#include "platform/platform.h"

namespace {

constexpr const char* kUsage =
    "usage: si32-report [--json] [--drive X] [--click]...\n"
    "  --json      print the window's controls as JSON\n"
    "  --drive X   pick drive X in the drive list after start-up\n"
    "  --click     press \"&MS System Info\" once (may be repeated)\n"
    "SI32_MACHINE=file.json selects a simulated machine.\n";

struct Options {
    bool json = false;
    std::string drive;
    int clicks = 0;
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
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else {
            std::cerr << "si32-report: unknown argument '" << arg << "'\n" << kUsage;
            return false;
        }
    }
    return true;
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
        std::cout << ReportJson(session, extras).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    else
        std::cout << ReportText(session, extras);
    return 0;
}
