#include "platform/host/devices/host_desktop_parameters_profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/engine/registry_store.h"
#include "platform/host/common/host_read.h"
#include "platform/input_file.h"

namespace si32 {
namespace {

constexpr std::string_view kHeader = "REGEDIT4\r\n\r\n";

// The file's text, "" when it does not exist yet, nullopt when it exists but
// cannot be read (then it must not be replaced).
std::optional<std::string> readProfile(const std::string& file) {
    InputFile read = ReadInputFile(file);
    if (read.missing) return std::string();
    return std::move(read.text);
}

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Written beside the file and renamed over it, so a reader (or a crash)
// never sees half a profile.
bool replaceFile(const std::string& file, std::string_view text) {
    const std::string temporary = file + ".new." + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || std::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::string withoutKeySections(std::string_view text, std::string_view fullKeyPath,
                               const std::vector<std::size_t>& keepLines) {
    std::string kept;
    bool dropping = false;
    size_t start = 0;
    size_t lineNumber = 0;
    auto mustKeep = [&](size_t number) {
        return std::find(keepLines.begin(), keepLines.end(), number) != keepLines.end();
    };
    while (start < text.size()) {
        ++lineNumber;
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(start, end - start);
        const std::string_view bare = trimBlanks(line);
        if (bare.size() >= 2 && bare.front() == '[' && bare.back() == ']') {
            const std::string_view name = bare.substr(1, bare.size() - 2);
            dropping = equalsNoCase(name, fullKeyPath) ||
                       (name.size() > fullKeyPath.size() && name[fullKeyPath.size()] == '\\' &&
                        equalsNoCase(name.substr(0, fullKeyPath.size()), fullKeyPath));
        }
        if (!dropping || mustKeep(lineNumber)) kept.append(line);
        start = end;
    }
    return kept;
}

bool storeInProfileFile(const std::string& file, std::string_view keyPath, const std::vector<ProfileValue>& values) {
    const std::optional<std::string> existing = readProfile(file);
    if (!existing) return false;

    // The key's section is rebuilt from what the file itself says, never from
    // the live registry, so live facts are not frozen into the profile.
    // A UTF-16 profile is the user's own export: rewriting it in another
    // encoding would garble it, so it is left alone.
    if (existing->starts_with("\xFF\xFE")) return false;
    RegistryStore profile;
    std::vector<SkippedLine> skipped;
    try {
        if (!existing->empty()) skipped = profile.ImportRegistryFile(*existing, file);
    } catch (const RegistryParseError&) {
        return false;
    }
    for (const ProfileValue& v : values) profile.SetValue(HKEY_CURRENT_USER, keyPath, v.name, v.type, v.data);

    std::string section = profile.ExportRegedit4(HKEY_CURRENT_USER, keyPath);
    if (section.starts_with(kHeader)) section.erase(0, kHeader.size());

    // Lines the reader did not understand stay where they were.
    std::vector<std::size_t> unread;
    for (const SkippedLine& line : skipped) unread.push_back(line.line);
    std::string text = withoutKeySections(*existing, "HKEY_CURRENT_USER\\" + std::string(keyPath), unread);
    if (trimBlanks(text).empty()) text = kHeader;
    if (!text.ends_with("\n")) text += "\r\n";
    if (!text.ends_with("\r\n\r\n") && !text.ends_with("\n\n")) text += "\r\n";
    text += section;
    return replaceFile(file, text);
}

}  // namespace si32
