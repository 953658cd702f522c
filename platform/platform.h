#pragma once
// The whole platform: one object per service family, supplied by a backend
// (the real Linux host, or a simulated machine).
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/multimedia.h"
#include "platform/printing.h"
#include "platform/regional.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace si32 {

struct Platform {
    Kernel& kernel;
    Registry& registry;
    Shell& shell;
    Ui& ui;
    Multimedia& multimedia;
    Files& files;
    Printing& printing;
    Regional& regional;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual Platform& platform() = 0;
};

// A machine description that cannot be used; its message is one line naming
// the file, the member and what was expected.
class MachineDescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Which program asks: the window and the report never count as instances of
// each other.
enum class Program { Window, Report };

// The simulated machine named by SI32_MACHINE when it is set, the host
// otherwise. Throws MachineDescriptionError for a bad description.
std::unique_ptr<Backend> makeBackend(Frontend& frontend, Program program);

// The screen of the display this program runs on, for a frontend without a
// toolkit of its own (the report); nullopt when no display can be reached.
std::optional<ScreenFacts> queryDisplayScreen();

// How the X11 display named by $DISPLAY answers a connection, within the
// time limit every display query keeps: a program about to connect to it
// learns first whether the server accepts and then never answers.
enum class DisplayAnswer { Unnamed, Answers, Refuses, Silent };
DisplayAnswer probeX11Display();

}  // namespace si32
