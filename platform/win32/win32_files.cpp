#include <cctype>
#include <string>

#include "platform/run_time_error.h"
#include "platform/win32/win32_services.h"

namespace si32 {
namespace {

[[noreturn]] void raiseFor(DWORD error, const std::string& path) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE;
    raise(missing ? ErrorKind::FileNotFound : ErrorKind::PlatformFailure, path + ": " + win32ErrorText(error));
}

class Win32SequentialFile final : public SequentialFile {
public:
    explicit Win32SequentialFile(HANDLE file) : file_(file) {}
    ~Win32SequentialFile() override { CloseHandle(file_); }
    Win32SequentialFile(const Win32SequentialFile&) = delete;
    Win32SequentialFile& operator=(const Win32SequentialFile&) = delete;

    int Get() override {
        if (next_ == end_) {
            DWORD got = 0;
            if (!ReadFile(file_, buffer_, sizeof buffer_, &got, nullptr))
                raise(ErrorKind::PlatformFailure, "read: " + win32ErrorText(GetLastError()));
            if (got == 0) return -1;
            next_ = 0;
            end_ = got;
        }
        return buffer_[next_++];
    }

private:
    HANDLE file_;
    unsigned char buffer_[65536];
    DWORD next_ = 0, end_ = 0;
};

// One argument as the C runtime splits a command line back into argv:
// quoted when it holds a blank or a quote, backslashes doubled before a quote.
std::string quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

}  // namespace

Win32Files::~Win32Files() {
    for (const auto& [id, process] : processes_) CloseHandle(process);
}

std::string Win32Files::Dir(std::string_view path) {
    const std::string pattern(path);
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::string name;
    do {
        if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
            name = found.cFileName;
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return name;
}

void Win32Files::ChDrive(std::string_view drive) {
    if (drive.empty()) return;
    const std::string target{upper(drive.front()), ':'};
    // "X:" alone goes to that drive's own current directory.
    if (!SetCurrentDirectoryA(target.c_str())) raise(ErrorKind::PlatformFailure, target + " device unavailable");
}

void Win32Files::ChDir(std::string_view path) {
    const std::string name(path);
    char full[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) raise(ErrorKind::FileNotFound, name + ": path not found");
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        raise(ErrorKind::FileNotFound, name + ": path not found");
    // The statement changes the directory of its drive and stays on the
    // current one; Windows keeps another drive's directory in "=X:".
    const std::string current = CurDir();
    if (current.empty() || upper(current.front()) == upper(full[0]) || full[1] != ':') {
        if (!SetCurrentDirectoryA(full)) raiseFor(GetLastError(), name);
        return;
    }
    const std::string variable{'=', upper(full[0]), ':'};
    SetEnvironmentVariableA(variable.c_str(), full);
}

std::string Win32Files::CurDir() {
    char path[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof path, path);
    return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
}

std::unique_ptr<SequentialFile> Win32Files::OpenForInput(std::string_view path) {
    const std::string name(path);
    const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) raiseFor(GetLastError(), name);
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        raise(ErrorKind::PlatformFailure, name + ": not a regular file");
    }
    return std::make_unique<Win32SequentialFile>(file);
}

DateTime Win32Files::FileDateTime(std::string_view path) {
    const std::string name(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) raiseFor(GetLastError(), name);
    FILETIME local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &time))
        raise(ErrorKind::Overflow, name + ": date out of range");
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

void Win32Files::Kill(std::string_view path) {
    const std::string name(path);
    if (!DeleteFileA(name.c_str())) raiseFor(GetLastError(), name);
}

uint32_t Win32Files::Shell(const std::vector<std::string>& argv, int32_t windowStyle) {
    if (argv.empty() || argv.front().empty()) raise(ErrorKind::FileNotFound, "no program named");
    std::string commandLine;
    for (const std::string& argument : argv) commandLine += (commandLine.empty() ? "" : " ") + quoted(argument);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    // The program is looked up as Windows looks it up: this program's
    // folder, the current one, the system's, then PATH.
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        raiseFor(GetLastError(), argv.front());
    CloseHandle(process.hThread);
    processes_[process.dwProcessId] = process.hProcess;
    started_.push_back(argv.front());
    return process.dwProcessId;
}

bool Win32Files::WaitForExit(uint32_t processId, uint32_t milliseconds) {
    const auto found = processes_.find(processId);
    if (found == processes_.end()) return true;
    return WaitForSingleObject(found->second, milliseconds) != WAIT_TIMEOUT;
}

std::optional<bool> Win32Files::WouldStart(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty()) return false;
    char path[MAX_PATH] = {};
    return SearchPathA(nullptr, argv.front().c_str(), ".exe", sizeof path, path, nullptr) > 0;
}

std::vector<std::string> Win32Files::Started() const { return started_; }

}  // namespace si32
