#pragma once
// Starting programs on the host: where a program named the Windows way is
// found, and the start itself, with an argument vector and never a shell.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/common/mount_guard.h"

namespace si32 {

// false also when its mount does not answer in time.
bool isExecutableFile(const std::string& hostPath, MountGuard& mounts);

struct ProgramSearch {
    std::vector<std::string> programDirs;  // where the Si32 programs and their helpers are
    std::string currentDir;                // the current directory's host path
    std::string searchPath;                // $PATH
    std::shared_ptr<MountGuard> mounts = std::make_shared<MountGuard>();
};

// asWritten: the host path the name stands for, taken as it is written. A
// bare name (no folder, no drive) ending in ".exe" that is not there is
// looked up without the extension, in the Si32 programs' own directories,
// then in the current directory, then on the search path; a name with a
// folder is that file or nothing.
std::optional<std::string> findProgram(std::string_view name, const std::optional<std::string>& asWritten,
                                       const ProgramSearch& search);

// Starts program with argv (argv[0] included) in directory and returns its
// process id. The child is reaped when it ends, so none is left a zombie.
// Raises the platform error when it cannot start.
uint32_t spawnProgram(const std::string& program, const std::vector<std::string>& argv, const std::string& directory);

// True when the program started with that id has ended (or was never started
// here), false when it still runs after milliseconds.
bool waitForProgram(uint32_t processId, uint32_t milliseconds);

}  // namespace si32
