// Fixture of the layer check: includes that are all allowed.
#include <nlohmann/json.hpp>
#include <vector>

#include "window/si9x.h"
#include "format/format_value.h"
#include "platform/kernel.h"
