#include <windows.h>

#include <string>

#include "platform/input_file.h"

namespace si32 {
namespace {

InputFile refused(std::string why, bool missing = false) {
    InputFile file;
    file.refusal = std::move(why);
    file.missing = missing;
    return file;
}

std::string tooLarge(std::size_t limit) {
    if (limit >= (std::size_t{1} << 20) && limit % (std::size_t{1} << 20) == 0)
        return "larger than " + std::to_string(limit >> 20) + " MB";
    return "larger than " + std::to_string(limit) + " bytes";
}

std::string systemMessage(DWORD error) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                   sizeof text, nullptr);
    std::string message(text, n);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

struct Handle {
    HANDLE h;
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

// flags: FILE_FLAG_OPEN_REPARSE_POINT where a link must not be followed.
InputFile readRegular(const std::string& path, std::size_t limit, DWORD flags) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return refused(systemMessage(error), error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return refused("a directory, not a file");
    // Opened for reading only, shared with writers: a description another
    // program holds open is still read.
    const Handle file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return refused(systemMessage(GetLastError()));
    // A device or a pipe that answers to a file name (CON, NUL, \\.\pipe\)
    // is not a file.
    if (GetFileType(file.h) != FILE_TYPE_DISK) return refused("not a regular file");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.h, &size)) return refused(systemMessage(GetLastError()));
    if (static_cast<unsigned long long>(size.QuadPart) > limit) return refused(tooLarge(limit));
    std::string text;
    char chunk[65536];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.h, chunk, sizeof chunk, &got, nullptr)) return refused(systemMessage(GetLastError()));
        if (got == 0) break;
        if (text.size() + got > limit) return refused(tooLarge(limit));
        text.append(chunk, got);
    }
    InputFile result;
    result.text = std::move(text);
    return result;
}

}  // namespace

InputFile ReadInputFile(const std::string& path, std::size_t limit) { return readRegular(path, limit, 0); }

InputFile ReadInputFileIn(const std::string& folder, const std::string& name, std::size_t limit) {
    // Windows also climbs out by a backslash or a drive letter.
    if (!NamesInsideFolder(name) || name.find_first_of("\\:") != std::string::npos || name.front() == '\\')
        return refused("not a name inside its folder");
    return readRegular(folder + "\\" + name, limit, FILE_FLAG_OPEN_REPARSE_POINT);
}

}  // namespace si32
