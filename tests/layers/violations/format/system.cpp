// Fixture of the layer check: logic that calls the operating system itself.
#include <unistd.h>
#include <QString>
#include <string>
