#pragma once
// The module taskbar: window centring and the taskbar's state bits.
#include <cstdint>

namespace si32 {

class Si9x;
class Ui;
class Shell;

// Moves the window to the middle of the screen; the size does not change.
void CenterForm(Ui& ui, Si9x& form);
// ABS_AUTOHIDE (1) and ABS_ALWAYSONTOP (2); 0 when the shell cannot tell.
int16_t GetTaskbarState(Shell& shell);

// half(v): round to the nearest whole number (halves to even), then halve,
// dropping the remainder toward zero.
int32_t HalfOf(double value);

}  // namespace si32
