// The three registry readers and the connection. Each asks for its own
// access mask and buffer size and has its own failure text; the masks go to
// the platform unchanged, so a key that refuses write access makes the wider
// readers fail while ReadRegValue still succeeds.
#include "format/format_value.h"
#include "platform/guarded.h"
#include "si32mod/buffers.h"
#include "si32mod/hex_text.h"
#include "si32mod/si32mod.h"

namespace si32 {
namespace {

constexpr uint32_t kGetRegStringAccess = 0x000F0063;
constexpr uint32_t kQueryRegValueAccess = 0x0002003F;
constexpr std::size_t kStringBuffer = 256;
constexpr std::size_t kValueBuffer = 1024;
constexpr const char* kNotString = "--Not String--";

}  // namespace

std::string Si32Mod::GetRegString(HKEY root, std::string_view subKey, std::string_view valueName) {
    Registry& registry = platform_.registry;
    std::string result;
    HKEY key = 0;
    int32_t status = -1;
    guarded([&] { status = registry.RegOpenKeyExA(root, subKey, 0, kGetRegStringAccess, key); });
    if (status != ERROR_SUCCESS) return result;

    std::string buffer = mod::nulBuffer(kStringBuffer);
    auto size = static_cast<uint32_t>(buffer.size());
    uint32_t type = REG_NONE;
    status = -1;
    guarded([&] { status = registry.RegQueryValueExA(key, valueName, type, buffer, size); });
    if (status == ERROR_SUCCESS && type == REG_SZ) {
        result = mod::leftOf(buffer, size);
        if (!result.empty() && result.back() == '\0') result.pop_back();
    } else {
        result = kNotString;
    }
    guarded([&] { registry.RegCloseKey(key); });
    return result;
}

std::string Si32Mod::ReadRegValue(std::string_view subKey, std::string_view valueName) {
    Registry& registry = platform_.registry;
    std::string result;
    HKEY key = 0;
    int32_t status = -1;
    guarded([&] { status = registry.RegOpenKeyExA(RegistryRoot, subKey, 0, KEY_READ, key); });
    if (status != ERROR_SUCCESS) return result;

    std::string buffer = mod::nulBuffer(kValueBuffer);
    auto size = static_cast<uint32_t>(buffer.size());
    uint32_t type = REG_NONE;
    status = -1;
    guarded([&] { status = registry.RegQueryValueExA(key, valueName, type, buffer, size); });
    if (status == ERROR_SUCCESS) {
        if (type == REG_SZ || type == REG_MULTI_SZ) {
            result = mod::upToNul(buffer);
        } else if (type == REG_DWORD) {
            // The whole buffer, last byte first, from the first non-zero byte
            // on: the number's hexadecimal digits, most significant first,
            // with at most one leading zero, which goes.
            bool started = false;
            for (auto it = buffer.rbegin(); it != buffer.rend(); ++it) {
                auto code = static_cast<unsigned char>(*it);
                started = started || code != 0;
                if (started) result += mod::hexByte(code);
            }
            if (!result.empty() && result.front() == '0') result.erase(0, 1);
        }
    }
    guarded([&] { registry.RegCloseKey(key); });
    return result;
}

bool Si32Mod::QueryRegValue(HKEY root, std::string_view subKey, std::string_view valueName, std::string& value) {
    Registry& registry = platform_.registry;
    HKEY key = 0;
    int32_t status = -1;
    guarded([&] { status = registry.RegOpenKeyExA(root, subKey, 0, kQueryRegValueAccess, key); });
    if (status != ERROR_SUCCESS) {
        value.clear();
        return false;
    }

    std::string buffer = mod::nulBuffer(kValueBuffer);
    auto size = static_cast<uint32_t>(buffer.size());
    uint32_t type = REG_NONE;
    status = -1;
    guarded([&] { status = registry.RegQueryValueExA(key, valueName, type, buffer, size); });
    if (status != ERROR_SUCCESS) {
        value.clear();
        guarded([&] { registry.RegCloseKey(key); });
        return false;
    }

    std::string kept = mod::leftOf(buffer, size);
    if (!kept.empty() && kept.back() == '\0') kept.pop_back();
    if (type == REG_SZ) {
        value = kept;
    } else if (type == REG_DWORD) {
        // A number becomes its decimal text. Each byte gives two digits and
        // the text is built afresh: digits without their leading zero, or
        // appended to what the caller passed in, would name another number.
        std::string hex;
        for (auto it = kept.rbegin(); it != kept.rend(); ++it) hex += mod::hexByte(static_cast<unsigned char>(*it));
        value = "&h" + hex;
        guarded([&] {
            auto number = static_cast<uint32_t>(mod::hexLiteralToInt32(value));
            value = FormatValue(platform_.regional, static_cast<double>(number), "");
        });
    }
    guarded([&] { registry.RegCloseKey(key); });
    return true;
}

int32_t Si32Mod::ConnectRegistry(std::string_view machineName) {
    HKEY root = 0;
    int32_t status = -1;
    guarded([&] { status = platform_.registry.RegConnectRegistryA(machineName, HKEY_LOCAL_MACHINE, root); });
    // After a failure nothing usable is kept, so every ReadRegValue finds no
    // key and answers empty text.
    RegistryRoot = status == ERROR_SUCCESS ? root : 0;
    return status == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace si32
