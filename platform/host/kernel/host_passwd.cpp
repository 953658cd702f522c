#include "platform/host/kernel/host_passwd.h"

#include <pwd.h>

#include <cctype>
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

std::optional<UserEntry> lookUpUser(const std::string& root, uint32_t uid) {
    if (const auto text = readUnderRoot(root, "/etc/passwd"))
        if (auto user = findUserInPasswd(*text, uid)) return user;
    if (root != "/") return std::nullopt;
    std::vector<char> scratch(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, scratch.data(), scratch.size(), &found) != 0 || found == nullptr) return std::nullopt;
    return UserEntry{found->pw_name, found->pw_gecos == nullptr ? "" : found->pw_gecos};
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
