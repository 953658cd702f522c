#pragma once
// The user profile on disk: the prefix's registry.reg. A desktop parameter
// that a program stores is written into that file, and only the section of
// the key it belongs to is rewritten, so every other line the user keeps
// there (machine overrides, comments) stays as it was.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace si32 {

struct ProfileValue {
    std::string name;
    uint32_t type = 0;  // REG_DWORD, REG_SZ, REG_BINARY
    std::string data;   // as the registry holds it
};

// Sets values of HKEY_CURRENT_USER\<keyPath> in the REGEDIT4 file (created
// when missing). All or nothing: false, with the file unchanged, when it
// cannot be read, is not REGEDIT4, is a UTF-16 export, or cannot be
// replaced. Lines it does not understand are kept.
bool storeInProfileFile(const std::string& file, std::string_view keyPath, const std::vector<ProfileValue>& values);

// REGEDIT4 text without the sections of the key and of its subkeys, except
// the lines numbered in keepLines (from 1): lines no reader understood.
std::string withoutKeySections(std::string_view text, std::string_view fullKeyPath,
                               const std::vector<std::size_t>& keepLines = {});

}  // namespace si32
