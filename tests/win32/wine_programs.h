#pragma once
// The Windows programs a Wine test runs and the booted prefix it starts
// from, and why a test skips where they or Wine are missing.
#include <filesystem>
#include <string>

#include "tests/support/source_dir.h"
#include "tests/support/wine.h"

namespace si32::testsupport {

inline std::string windowsPrograms(bool bits64) { return bits64 ? SI32_WINDOWS_BIN64 : SI32_WINDOWS_BIN32; }

inline std::filesystem::path templatePrefix() {
    return std::filesystem::path(binaryDir()) / "tests/win32/wine-template";
}

inline std::string wineSkipReason(bool bits64) {
    if (windowsPrograms(bits64).empty())
        return std::string(bits64 ? "x86_64" : "i686") +
               "-w64-mingw32-g++-posix (g++-mingw-w64) was not found at configure time, or SI32_WINDOWS is OFF";
    if (wineLoader(true).empty()) return "wine64 (Debian package wine64) is not installed";
    if (wineLoader(bits64).empty())
        return "wine32 (Debian package wine32:i386) is not installed, or this kernel runs no 32-bit programs";
    return {};
}

}  // namespace si32::testsupport
