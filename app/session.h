#pragma once
// One run of the program: the platform it asks, the windows it shows and the
// module state its routines share. Tests make fresh ones.
#include "facts/startup_values.h"
#include "facts/step_context.h"
#include "platform/platform.h"
#include "si32mod/si32mod.h"
#include "window/si32bg.h"
#include "window/si9x.h"

namespace si32 {

class Session {
public:
    explicit Session(Platform& platform);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Platform& platform;
    // The code page of every text the model holds; whatever shows one
    // decodes it from here.
    const uint32_t CodePage;
    Si9x form;
    Si32Bg backdrop;
    Si32Mod mod;
    StartupValues values;
    StepContext context{platform, form, mod, values};

    // Step 1 found another instance: the program ends without its window.
    bool RefusedSecondInstance = false;
    // The main window has been activated at least once.
    bool Activated = false;
};

}  // namespace si32
