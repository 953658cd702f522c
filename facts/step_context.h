#pragma once
// What a fact-collection step works on.
#include "facts/startup_values.h"
#include "platform/platform.h"

namespace si32 {

class Si9x;
class Si32Mod;

struct StepContext {
    Platform& platform;
    Si9x& form;
    Si32Mod& mod;
    StartupValues& values;
};

}  // namespace si32
