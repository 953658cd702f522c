#pragma once
// Working values of the start-up sequence: they live only while it runs.
#include <array>
#include <cstdint>
#include <string>

#include "platform/kernel.h"

namespace si32 {

struct StartupValues {
    std::string WindowsDir, SystemDir, TempDir;

    // TRVWIN.INI: sixteen fields, of which the first two are used.
    std::string ProductDir;
    std::string StartDrive;
    std::array<std::string, 16> TrvwinFields{};

    OsVersionInfoA Version{};
    bool VersionOk = false;
    std::string VersionText;
    std::string BuildText;

    MemoryStatus Memory{};
    MemoryStatusEx MemoryEx{};
    bool MemoryExOk = false;
    // From the extended record when it answered, else from the classic one.
    bool MemoryKnown = false;
    uint32_t MemoryLoad = 0;
    uint64_t TotalPhysical = 0;

    SystemInfo Processor{};
};

}  // namespace si32
