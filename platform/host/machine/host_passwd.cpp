#include "platform/host/machine/host_passwd.h"

#include <pwd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <vector>

#include "platform/host/common/host_read.h"

namespace si32 {

std::optional<UserEntry> findUserInPasswd(std::string_view passwdText, uint32_t uid) {
    for (std::string_view line : splitLines(passwdText)) {
        // name:password:uid:gid:gecos:home:shell
        std::vector<std::string_view> fields;
        size_t start = 0;
        for (size_t colon; (colon = line.find(':', start)) != std::string_view::npos; start = colon + 1)
            fields.push_back(line.substr(start, colon - start));
        fields.push_back(line.substr(start));
        if (fields.size() < 5 || fields[0].empty()) continue;
        uint32_t entryUid = 0;
        const auto [end, error] = std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), entryUid);
        if (error != std::errc() || end != fields[2].data() + fields[2].size() || entryUid != uid) continue;
        return UserEntry{std::string(fields[0]), std::string(fields[4])};
    }
    return std::nullopt;
}

// The system's user database as nsswitch.conf orders it: files, a directory
// service (LDAP, SSSD), systemd's users. Entries of any size are read whole.
std::optional<UserEntry> systemUser(uint32_t uid) {
    for (std::size_t size = 4096; size <= (1u << 20); size *= 4) {
        std::vector<char> scratch(size);
        passwd entry{};
        passwd* found = nullptr;
        const int error = ::getpwuid_r(uid, &entry, scratch.data(), scratch.size(), &found);
        if (error == ERANGE) continue;
        if (error != 0 || found == nullptr) return std::nullopt;
        return UserEntry{found->pw_name, found->pw_gecos == nullptr ? "" : found->pw_gecos};
    }
    return std::nullopt;
}

std::optional<UserEntry> lookUpUser(const std::string& root, uint32_t uid) {
    // On this machine the database answers; a fixture tree has only its file.
    if (root == "/")
        if (auto user = systemUser(uid)) return user;
    if (const auto text = readUnderRoot(root, "/etc/passwd")) return findUserInPasswd(*text, uid);
    return std::nullopt;
}

std::string fullNameOf(const UserEntry& user) {
    std::string_view gecos = user.gecos;
    gecos = trimBlanks(gecos.substr(0, gecos.find(',')));
    std::string name;
    for (char c : gecos) {
        if (c != '&') {
            name += c;
            continue;
        }
        std::string login = user.login;
        if (!login.empty()) login[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(login[0])));
        name += login;
    }
    return name.empty() ? user.login : name;
}

}  // namespace si32
