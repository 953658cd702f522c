// lock_probe window|report: asks the host's previous-instance question as
// the named program would, once a byte arrives on standard input (so a test
// can start several at the same moment), prints "held" or "busy", and keeps
// what it holds until standard input closes.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/engine/registry_store.h"
#include "platform/host/devices/host_devices.h"
#include "platform/host/display/host_ui.h"
#include "platform/host/host_backend.h"
#include "platform/host/volumes/drive_map.h"
#include "tests/support/recording_frontend.h"

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "window") != 0 && std::strcmp(argv[1], "report") != 0)) {
        std::fprintf(stderr, "usage: lock_probe window|report\n");
        return 2;
    }
    si32::testsupport::RecordingFrontend frontend;
    si32::DriveMap drives;
    si32::RegistryStore registry;
    // The lock's places and the display come from the environment the test
    // started this probe with.
    si32::HostContext context;
    context.environment = si32::processEnvironment();
    si32::HostDeps deps{frontend, std::strcmp(argv[1], "window") == 0 ? si32::Program::Window : si32::Program::Report,
                        context, drives, registry};
    auto ui = si32::makeHostUi(deps);

    char go = 0;
    if (::read(STDIN_FILENO, &go, 1) != 1) return 1;
    std::printf("%s\n", ui->PrevInstance() ? "busy" : "held");
    std::fflush(stdout);
    while (::read(STDIN_FILENO, &go, 1) > 0) {
    }
    return 0;
}
