#pragma once
// Files and processes: file lookup, current drive and directory, sequential
// text reading, file date, deletion and process start. Failures raise the
// project's run-time error, as the language statements they stand for do.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace si32 {

// A local date and time.
struct DateTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// A file opened for sequential reading: one byte at a time, so a reader
// holds no more of the file than it keeps.
class SequentialFile {
public:
    virtual ~SequentialFile() = default;
    // The next byte (0..255), or -1 at the end of the file.
    virtual int Get() = 0;
};

enum : int32_t {
    vbNormalFocus = 1,
};

class Files {
public:
    virtual ~Files() = default;

    // The file's name (without its folder) when an ordinary file is there
    // (not hidden, system or a folder); empty text otherwise.
    virtual std::string Dir(std::string_view path) = 0;
    virtual void ChDrive(std::string_view drive) = 0;
    virtual void ChDir(std::string_view path) = 0;
    virtual std::string CurDir() = 0;
    // Relative paths are taken from the current drive and directory.
    virtual std::unique_ptr<SequentialFile> OpenForInput(std::string_view path) = 0;
    virtual DateTime FileDateTime(std::string_view path) = 0;
    virtual void Kill(std::string_view path) = 0;
    // Starts argv[0] with the rest as its arguments, never through a shell.
    // Returns the process identifier; raises when the program cannot start.
    virtual uint32_t Shell(const std::vector<std::string>& argv, int32_t windowStyle) = 0;
    // Waits at most milliseconds for a process that Shell started (by the
    // identifier it returned) to end. True when it has ended or is unknown,
    // false when it still runs at the deadline. A backend whose programs
    // finish inside Shell answers at once, as this default does.
    virtual bool WaitForExit(uint32_t processId, uint32_t milliseconds) {
        (void)processId;
        (void)milliseconds;
        return true;
    }
    // Whether Shell would start the program, without starting it; nullopt
    // where the backend cannot tell before trying.
    virtual std::optional<bool> WouldStart(const std::vector<std::string>& argv) {
        (void)argv;
        return std::nullopt;
    }
    // Every start that succeeded, in order, as the program was named.
    virtual std::vector<std::string> Started() const = 0;
};

}  // namespace si32
