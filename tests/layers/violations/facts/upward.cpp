// Fixture of the layer check: a fact step that reaches up into start-up and
// into a backend.
#include "app/startup.h"
#include "platform/host/host_backend.h"
#include "si32mod/si32mod.h"
