#pragma once
// Environment, user and product facts.
#include "facts/step_context.h"

namespace si32 {

void ReadDirectories(StepContext& ctx);        // step 5
void EnterSystemDirectory(StepContext& ctx);   // step 6
void ReadTrvwinIni(StepContext& ctx);          // step 7
void SelectStartDrive(StepContext& ctx);       // step 8
void ShowDirectories(StepContext& ctx);        // step 9
void ShowProductDir(StepContext& ctx);         // step 10
void ShowComputerName(StepContext& ctx);       // step 22
void ShowCurrentUser(StepContext& ctx);        // step 23
void ShowOwner(StepContext& ctx);              // step 25
void ShowTaskbarSettings(StepContext& ctx);    // step 28
void ShowCdAudioAndCountry(StepContext& ctx);  // step 31
void ShowProductVersion(StepContext& ctx);     // step 36

}  // namespace si32
