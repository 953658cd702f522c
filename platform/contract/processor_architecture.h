#pragma once
// SYSTEM_INFO's processor architectures, as both backends report them; the
// codes stand beside the record in the kernel services header.
#include "platform/kernel.h"
