// Fixture of the layer check: includes that are all allowed.
#include <nlohmann/json.hpp>
#include <vector>

#include "format/format_value.h"
#include "platform/kernel.h"
#include "window/si9x.h"
