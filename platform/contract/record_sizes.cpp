// The records a caller hands over with their own size in the first field
// are laid out as Windows lays them out, so a size that is right there is
// right here, and the same size can be written into a capture and read back.
#include <cstddef>

#include "platform/kernel.h"

namespace si32 {

static_assert(sizeof(OsVersionInfoA) == kOsVersionInfoASize);
static_assert(offsetof(OsVersionInfoA, szCSDVersion) == 20);
static_assert(sizeof(MemoryStatus) == kMemoryStatusSize);
static_assert(sizeof(MemoryStatusEx) == kMemoryStatusExSize);
static_assert(offsetof(MemoryStatusEx, ullTotalPhys) == 8);

}  // namespace si32
