#pragma once
// The "Drive Info" frame: filled from the volume queries for the drive that
// the drive list shows.
#include "platform/platform.h"

namespace si32 {

class Si9x;

void Drive1_Change(Platform& platform, Si9x& form);

}  // namespace si32
