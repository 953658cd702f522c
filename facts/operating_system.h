#pragma once
// Operating-system identification: name, version, build and DOS version, and
// the family code OsFamily.
#include "facts/step_context.h"

namespace si32 {

void QueryVersion(StepContext& ctx);             // step 11, first half
void ShowOperatingSystem(StepContext& ctx);      // step 12
void ShowDosVersion(StepContext& ctx);           // step 14
void ShowBuildNumber(StepContext& ctx);          // step 15
void RecognizeWindows98(StepContext& ctx);       // step 16
void ShowRegistryProductName(StepContext& ctx);  // step 17
void RecognizeWindowsXP(StepContext& ctx);       // step 18

}  // namespace si32
