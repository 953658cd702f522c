#pragma once
// Processor, display and peripheral facts.
#include "facts/step_context.h"

namespace si32 {

void ShowVideoResolution(StepContext& ctx);  // step 20
void ShowColors(StepContext& ctx);           // step 21
void ShowWaveDevices(StepContext& ctx);      // step 26
void ShowMidiDevices(StepContext& ctx);      // step 27
void ShowDrivers(StepContext& ctx);          // step 29: keyboard, display adapter, mouse
void ShowSystemType(StepContext& ctx);       // step 30
void ReadProcessorFacts(StepContext& ctx);   // step 32
void ShowProcessorType(StepContext& ctx);    // step 33
void ShowDefaultPrinter(StepContext& ctx);   // step 34
void ShowProcessorCount(StepContext& ctx);   // step 35

}  // namespace si32
