#pragma once
// Where a test finds the tree's files (machines/, its fixtures) and the built
// programs: the folders ctest names in SI32_SOURCE_DIR and SI32_BINARY_DIR,
// else the working directory.
#include <cstdlib>
#include <string>

namespace si32::testsupport {

inline std::string sourceDir() {
    const char* dir = std::getenv("SI32_SOURCE_DIR");
    return dir != nullptr ? dir : ".";
}

// Where the build put the programs (bin/) and the default prefix (share/).
inline std::string binaryDir() {
    const char* dir = std::getenv("SI32_BINARY_DIR");
    return dir != nullptr ? dir : ".";
}

// A file of the tree by its path from the top ("tests/app/startup_machine.json").
inline std::string sourceFile(const std::string& relative) { return sourceDir() + "/" + relative; }

}  // namespace si32::testsupport
