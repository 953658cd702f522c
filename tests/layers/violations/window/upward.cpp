// Fixture of the layer check: the window model reaching up into the fact
// steps that fill it and into the lifecycle.
#include "app/session.h"
#include "drives/drive_info.h"
#include "platform/ui.h"
