#pragma once
// Fixture of the layer check: the way back to the kernel folder.
#include "platform/host/common/helper.h"
#include "platform/host/kernel/loop.h"
