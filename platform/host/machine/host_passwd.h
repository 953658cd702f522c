#pragma once
// The user as the password database knows them: login name and full name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace si32 {

struct UserEntry {
    std::string login;
    std::string gecos;
};

// The entry of uid in the text of a passwd file.
std::optional<UserEntry> findUserInPasswd(std::string_view passwdText, uint32_t uid);
// On the real machine ("/") the system's user database (getpwuid_r, so
// directory-service users are found), then /etc/passwd; below another root
// only <root>/etc/passwd.
std::optional<UserEntry> lookUpUser(const std::string& root, uint32_t uid);
// The full name from the GECOS field ("&" standing for the capitalised login
// name, as finger reads it), or the login name when it names nobody.
std::string fullNameOf(const UserEntry& user);

}  // namespace si32
