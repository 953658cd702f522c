#pragma once
// Registry services (advapi32): the four registry calls and the user name.
// Status convention of the real calls: 0 success, 2 not found, 5 access
// denied, 234 more data (the buffer is too small; the size then says how many
// bytes the value needs).
#include <cstdint>
#include <span>
#include <string_view>

namespace si32 {

using HKEY = uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr int32_t ERROR_BAD_NETPATH = 53;
inline constexpr int32_t ERROR_MORE_DATA = 234;

inline constexpr uint32_t KEY_READ = 0x00020019u;

enum : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

class Registry {
public:
    virtual ~Registry() = default;

    virtual int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                                  HKEY& result) = 0;
    // dataSize in: the buffer's size in bytes; out: the bytes stored (a
    // string's count includes its NUL) or, with 234, the bytes needed.
    virtual int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                                     uint32_t& dataSize) = 0;
    virtual int32_t RegCloseKey(HKEY key) = 0;
    virtual int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) = 0;

    // BOOL. size in: buffer length; out: length including the NUL.
    virtual int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) = 0;
};

}  // namespace si32
