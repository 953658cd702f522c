#pragma once
// The start-up sequence (the main window's load handler) and the handlers of
// the window's lifecycle: activation and the Escape key.
#include <cstdint>

namespace si32 {

class Session;

// Runs the 36 steps in their order; stops early only when the first (the
// single-instance guard) ends the program.
void Form_Load(Session& session);
void Form_Activate(Session& session);

inline constexpr int32_t vbKeyEscape = 27;
void Form_KeyDown(Session& session, int32_t keyCode);
void Drive1_KeyDown(Session& session, int32_t keyCode);

// The exact text of the single-instance warning.
extern const char* const kAlreadyRunningMessage;

}  // namespace si32
