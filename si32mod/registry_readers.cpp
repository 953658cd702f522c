// The three registry readers and the connection. Each asks for its own
// access mask and buffer size and has its own failure text; the masks go to
// the platform unchanged, so a key that refuses write access makes the wider
// readers fail while ReadRegValue still succeeds.
#include "format/format_value.h"
#include "platform/guarded.h"
#include "platform/text_helpers.h"
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

// One value as a reader sees it: the key opened (or not) with the reader's
// mask, the value queried into a fresh buffer of NULs, the key closed again.
// Each step is guarded on its own; a step that raises leaves its status at -1.
struct ValueRead {
    bool opened = false;
    int32_t status = -1;
    uint32_t type = REG_NONE;
    uint32_t size = 0;
    std::string buffer;

    bool found() const { return opened && status == ERROR_SUCCESS; }
    // The first size characters, without a final NUL.
    std::string kept() const {
        std::string text = mod::leftOf(buffer, size);
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    }
};

ValueRead readValue(Registry& registry, HKEY root, std::string_view subKey, std::string_view valueName, uint32_t access,
                    std::size_t bufferSize) {
    ValueRead read;
    HKEY key = 0;
    int32_t open = -1;
    guarded([&] { open = registry.RegOpenKeyExA(root, subKey, 0, access, key); });
    read.opened = open == ERROR_SUCCESS;
    if (!read.opened) return read;
    read.buffer = mod::nulBuffer(bufferSize);
    read.size = static_cast<uint32_t>(bufferSize);
    guarded([&] { read.status = registry.RegQueryValueExA(key, valueName, read.type, read.buffer, read.size); });
    guarded([&] { registry.RegCloseKey(key); });
    return read;
}

}  // namespace

std::string Si32Mod::GetRegString(HKEY root, std::string_view subKey, std::string_view valueName) {
    ValueRead read = readValue(platform_.registry, root, subKey, valueName, kGetRegStringAccess, kStringBuffer);
    if (!read.opened) return "";
    return read.found() && read.type == REG_SZ ? read.kept() : kNotString;
}

std::string Si32Mod::ReadRegValue(std::string_view subKey, std::string_view valueName) {
    ValueRead read = readValue(platform_.registry, RegistryRoot, subKey, valueName, KEY_READ, kValueBuffer);
    std::string result;
    if (!read.found()) return result;
    if (read.type == REG_SZ || read.type == REG_MULTI_SZ) {
        result = upToNul(read.buffer);
    } else if (read.type == REG_DWORD) {
        // The whole buffer, last byte first, from the first non-zero byte on:
        // the number's hexadecimal digits, most significant first, with at
        // most one leading zero, which goes.
        bool started = false;
        for (auto it = read.buffer.rbegin(); it != read.buffer.rend(); ++it) {
            auto code = static_cast<unsigned char>(*it);
            started = started || code != 0;
            if (started) result += mod::hexByte(code);
        }
        if (!result.empty() && result.front() == '0') result.erase(0, 1);
    }
    return result;
}

bool Si32Mod::QueryRegValue(HKEY root, std::string_view subKey, std::string_view valueName, std::string& value) {
    ValueRead read = readValue(platform_.registry, root, subKey, valueName, kQueryRegValueAccess, kValueBuffer);
    if (!read.found()) {
        value.clear();
        return false;
    }
    std::string kept = read.kept();
    if (read.type == REG_SZ) {
        value = kept;
    } else if (read.type == REG_DWORD) {
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
