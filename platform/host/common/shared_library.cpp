#include "platform/host/common/shared_library.h"

#include <dlfcn.h>

namespace si32 {

// RTLD_LOCAL keeps the library's symbols out of the global scope, so it
// cannot change how anything loaded later resolves its own names.
SharedLibrary::SharedLibrary(const char* soname) : handle_(::dlopen(soname, RTLD_LAZY | RTLD_LOCAL)) {}

void* SharedLibrary::address(const char* name) const { return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr; }

}  // namespace si32
