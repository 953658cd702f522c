// Fixture of the layer check: logic that calls the operating system itself.
#include <string>
#include <unistd.h>
#include <QString>
