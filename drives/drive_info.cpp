#include "drives/drive_info.h"

namespace si32 {

void Drive1_Change(Platform&, Si9x&) {}

}  // namespace si32
