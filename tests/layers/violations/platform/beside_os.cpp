// Fixture of the layer check: beside that folder the rule of platform/ holds,
// whatever the file is called.
#include <iconv.h>
