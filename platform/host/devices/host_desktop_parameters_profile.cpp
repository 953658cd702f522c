#include "platform/host/devices/host_desktop_parameters_profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/engine/registry_store.h"
#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

constexpr std::string_view kHeader = "REGEDIT4\r\n\r\n";

// The file's text, "" when it does not exist yet, nullopt when it exists but
// cannot be read (then it must not be replaced).
std::optional<std::string> readProfile(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    std::string text;
    char chunk[8192];
    ssize_t n = 0;
    while ((n = ::read(fd, chunk, sizeof chunk)) != 0) {
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        text.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
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

std::string withoutKeySections(std::string_view text, std::string_view fullKeyPath) {
    std::string kept;
    bool dropping = false;
    size_t start = 0;
    while (start < text.size()) {
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
        if (!dropping) kept.append(line);
        start = end;
    }
    return kept;
}

bool storeInProfileFile(const std::string& file, std::string_view keyPath, const std::vector<ProfileValue>& values) {
    const std::optional<std::string> existing = readProfile(file);
    if (!existing) return false;

    // The key's section is rebuilt from what the file itself says, never from
    // the live registry, so live facts are not frozen into the profile.
    RegistryStore profile;
    try {
        if (!existing->empty()) profile.LoadRegedit4(*existing, file);
    } catch (const RegistryParseError&) {
        return false;
    }
    for (const ProfileValue& v : values) profile.SetValue(HKEY_CURRENT_USER, keyPath, v.name, v.type, v.data);

    std::string section = profile.ExportRegedit4(HKEY_CURRENT_USER, keyPath);
    if (section.starts_with(kHeader)) section.erase(0, kHeader.size());

    std::string text = withoutKeySections(*existing, "HKEY_CURRENT_USER\\" + std::string(keyPath));
    if (trimBlanks(text).empty()) text = kHeader;
    if (!text.ends_with("\n")) text += "\r\n";
    if (!text.ends_with("\r\n\r\n") && !text.ends_with("\n\n")) text += "\r\n";
    text += section;
    return replaceFile(file, text);
}

}  // namespace si32
