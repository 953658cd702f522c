// Fixture of the layer check: two host folders that need each other, and a
// shared helper both may use.
#include "platform/host/registry/loop.h"
#include "platform/host/common/helper.h"
