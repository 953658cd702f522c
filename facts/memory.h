#pragma once
// Physical memory and the resource meters.
#include "facts/step_context.h"

namespace si32 {

void QueryMemoryStatus(StepContext& ctx);   // step 11, second half
void ShowMeters(StepContext& ctx);          // step 13
void ShowPhysicalMemory(StepContext& ctx);  // step 24

}  // namespace si32
