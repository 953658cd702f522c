// The capture written on Windows: a stream as it is, a file replaced whole
// by a rename over it, so that a reader sees the old file or the new one.
#include <windows.h>

#include <string>

#include "platform/capture/capture_file.h"

namespace si32::capture {
namespace {

std::string failure(const std::string& path, DWORD error) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                   sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return path + ": " + (message.empty() ? "error " + std::to_string(error) : message);
}

bool writeAll(HANDLE h, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 20));
        if (!WriteFile(h, text.data() + done, chunk, &n, nullptr) || n == 0) return false;
        done += n;
    }
    return true;
}

std::optional<std::string> writeTo(HANDLE h, const std::string& path, const std::string& text) {
    if (!writeAll(h, text)) return failure(path, GetLastError());
    return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteFileWhole(const std::string& path, const std::string& text) {
    if (path == "/dev/stdout" || path == "CON") return writeTo(GetStdHandle(STD_OUTPUT_HANDLE), path, text);
    if (path == "/dev/stderr") return writeTo(GetStdHandle(STD_ERROR_HANDLE), path, text);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return path + ": a directory, not a file";
    // A device (NUL, COM1) or a pipe is written where it is.
    {
        HANDLE existing = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (existing != INVALID_HANDLE_VALUE) {
            const bool stream = GetFileType(existing) != FILE_TYPE_DISK;
            std::optional<std::string> result;
            if (stream) result = writeTo(existing, path, text);
            CloseHandle(existing);
            if (stream) return result;
        }
    }
    const std::string temporary = path + ".si32-part";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failure(path, GetLastError());
    const bool written = writeAll(file, text) && FlushFileBuffers(file);
    const DWORD writeError = GetLastError();
    CloseHandle(file);
    if (!written) {
        DeleteFileA(temporary.c_str());
        return failure(path, writeError);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileA(temporary.c_str());
        return failure(path, error);
    }
    return std::nullopt;
}

}  // namespace si32::capture
