// Fixture of the layer check: the folder whose files may call the C library.
#include "platform/code_page.h"

#include <iconv.h>
