#pragma once
// What the build was made from: the product version, and the commit when the
// sources were a git checkout ("" otherwise, as in a source tarball).
#include <string_view>

namespace si32 {

std::string_view BuildVersion();
std::string_view BuildCommit();

}  // namespace si32
