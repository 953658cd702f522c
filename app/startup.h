#pragma once
// The start-up sequence (the main window's load handler) and the handlers of
// the window's lifecycle: activation and the Escape key.
#include <cstdint>
#include <span>

namespace si32 {

class Session;

struct StartupStep {
    int number;
    const char* name;
    void (*run)(Session&);
};

// The 36 steps in their order.
std::span<const StartupStep> StartupSteps();

// Runs the steps; stops early only when step 1 ends the program.
void Form_Load(Session& session);
void Form_Activate(Session& session);

inline constexpr int32_t vbKeyEscape = 27;
void Form_KeyDown(Session& session, int32_t keyCode);
void Drive1_KeyDown(Session& session, int32_t keyCode);

// The exact text of the single-instance warning.
extern const char* const kAlreadyRunningMessage;

}  // namespace si32
