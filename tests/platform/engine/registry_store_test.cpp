#include "platform/engine/registry_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace si32 {
namespace {

constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

struct Query {
    int32_t status = -1;
    uint32_t type = 0xFFFF;
    uint32_t size = 0;
    std::string bytes;  // the whole buffer after the call
};

Query queryValue(RegistryStore& store, HKEY root, std::string_view path, std::string_view name, uint32_t bufferSize,
                 uint32_t mask = KEY_READ) {
    Query q;
    HKEY key = 0;
    q.status = store.RegOpenKeyExA(root, path, 0, mask, key);
    if (q.status != ERROR_SUCCESS) return q;
    std::string buffer(bufferSize, '\x55');
    q.size = bufferSize;
    q.status = store.RegQueryValueExA(key, name, q.type, buffer, q.size);
    q.bytes = buffer;
    EXPECT_EQ(store.RegCloseKey(key), ERROR_SUCCESS);
    return q;
}

RegistryStore sampleStore() {
    RegistryStore store;
    store.SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProductName", "Microsoft Windows 98");
    store.SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "Empty", "");
    store.SetDword(HKEY_LOCAL_MACHINE, "HARDWARE\\Description\\System\\CentralProcessor\\0", "~Mhz", 500);
    store.SetValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "List", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
    store.SetValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "Expand", REG_EXPAND_SZ, std::string("%windir%\0", 9));
    store.SetString(HKEY_LOCAL_MACHINE, kCurrentVersion, "Long", std::string(300, 'L'));
    return store;
}

TEST(RegistryStore, QueriesAnswerWithWindowsStatusTypeAndByteCount) {
    struct Case {
        const char* what;
        std::string path, name;
        uint32_t buffer;
        int32_t status;
        uint32_t type, size;
        std::string data;  // the bytes expected at the start of the buffer
    };
    const std::vector<Case> cases = {
        {"string counts its NUL", kCurrentVersion, "ProductName", 256, 0, REG_SZ, 21,
         std::string("Microsoft Windows 98\0", 21)},
        {"names without regard to case", "software\\MICROSOFT\\windows\\currentversion", "PRODUCTNAME", 256, 0, REG_SZ,
         21, "Microsoft"},
        {"empty string is one NUL", kCurrentVersion, "Empty", 256, 0, REG_SZ, 1, std::string(1, '\0')},
        {"dword little-endian", "HARDWARE\\Description\\System\\CentralProcessor\\0", "~Mhz", 1024, 0, REG_DWORD, 4,
         std::string("\xF4\x01\0\0", 4)},
        {"multi string ends with two NULs", kCurrentVersion, "List", 1024, 0, REG_MULTI_SZ, 9,
         std::string("one\0two\0\0", 9)},
        {"expand string keeps its type", kCurrentVersion, "Expand", 256, 0, REG_EXPAND_SZ, 9, "%windir%"},
        {"too small: more data, size needed, nothing copied", kCurrentVersion, "Long", 256, 234, REG_SZ, 301,
         std::string(256, '\x55')},
        {"exactly fits", kCurrentVersion, "ProductName", 21, 0, REG_SZ, 21, "Microsoft Windows 98"},
        {"one byte short", kCurrentVersion, "ProductName", 20, 234, REG_SZ, 21, std::string(20, '\x55')},
        {"missing value", kCurrentVersion, "Nope", 256, 2, REG_NONE, 256, ""},
        {"missing key", "SOFTWARE\\Nowhere", "x", 256, 2, 0xFFFF, 0, ""},
        {"default value not set", kCurrentVersion, "", 256, 2, REG_NONE, 256, ""},
    };
    RegistryStore store = sampleStore();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Query q = queryValue(store, HKEY_LOCAL_MACHINE, c.path, c.name, c.buffer);
        EXPECT_EQ(q.status, c.status);
        EXPECT_EQ(q.type, c.type);
        EXPECT_EQ(q.size, c.size);
        EXPECT_EQ(q.bytes.substr(0, c.data.size()), c.data);
    }
}

TEST(RegistryStore, ReadOnlyKeysRefuseEveryMaskWiderThanRead) {
    struct Case {
        const char* path;
        uint32_t mask;
        int32_t status;
    };
    const std::vector<Case> cases = {
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", KEY_READ, 0},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0x00000001, 0},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0x0002003F, 5},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", 0x000F0063, 5},
        {"software\\microsoft\\shared tools\\msinfo\\below", 0x0002003F, 5},
        {"SOFTWARE\\Microsoft\\Shared Tools Location", 0x0002003F, 0},
        {"SOFTWARE\\Microsoft\\Shared Tools", 0x000F0063, 0},
    };
    RegistryStore store;
    store.SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "C:\\x.exe");
    store.SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\\Below", "v", "x");
    store.SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", "C:\\");
    store.AddReadOnlyKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " mask " + std::to_string(c.mask));
        HKEY key = 0;
        EXPECT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, c.path, 0, c.mask, key), c.status);
        if (c.status == 0) {
            EXPECT_EQ(store.RegCloseKey(key), 0);
        }
    }
}

TEST(RegistryStore, HandlesAreCheckedAndFreedAndCannotBeUsedAfterClose) {
    RegistryStore store = sampleStore();
    HKEY key = 0;
    ASSERT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ, key), 0);
    HKEY child = 0;
    EXPECT_EQ(store.RegOpenKeyExA(key, "", 0, KEY_READ, child), 0) << "empty path opens the key again";
    EXPECT_NE(child, key);
    EXPECT_EQ(store.RegCloseKey(child), 0);
    EXPECT_EQ(store.RegCloseKey(key), 0);
    EXPECT_EQ(store.RegCloseKey(key), ERROR_INVALID_HANDLE);
    uint32_t type = 0, size = 16;
    char buffer[16];
    EXPECT_EQ(store.RegQueryValueExA(key, "ProductName", type, buffer, size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(store.RegOpenKeyExA(key, "x", 0, KEY_READ, child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(store.RegQueryValueExA(0, "x", type, buffer, size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(store.RegCloseKey(HKEY_LOCAL_MACHINE), 0) << "closing a predefined root is harmless";
}

TEST(RegistryStore, AQueryWithoutAccessToValuesIsRefused) {
    RegistryStore store = sampleStore();
    HKEY key = 0;
    ASSERT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, 0x00020000, key), 0);
    uint32_t type = 0, size = 256;
    char buffer[256];
    EXPECT_EQ(store.RegQueryValueExA(key, "ProductName", type, buffer, size), ERROR_ACCESS_DENIED);
}

TEST(RegistryStore, SizeOnlyQueryAndCallerCountSmallerThanSpan) {
    RegistryStore store = sampleStore();
    uint32_t type = 0, size = 0;
    HKEY key = 0;
    ASSERT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ, key), 0);
    EXPECT_EQ(store.RegQueryValueExA(key, "ProductName", type, {}, size), 0);
    EXPECT_EQ(size, 21u);
    std::string buffer(100, 'x');
    size = 5;  // the caller says 5: the store must not use the rest of the span
    EXPECT_EQ(store.RegQueryValueExA(key, "ProductName", type, buffer, size), ERROR_MORE_DATA);
    EXPECT_EQ(buffer, std::string(100, 'x'));
}

TEST(RegistryStore, ConnectGivesAnHklmHandleForThisMachineOnlyOrFailsWith53) {
    RegistryStore store = sampleStore();
    store.SetComputerName("OFFICE-PC");
    struct Case {
        const char* name;
        int32_t status;
    };
    const Case cases[] = {
        {"", 0},
        {"OFFICE-PC", 0},
        {"office-pc", 0},
        {"\\\\OFFICE-PC", 0},
        {"\\\\elsewhere", ERROR_BAD_NETPATH},
        {"OFFICE-PCXXXXXXXXXXXXXXXXXXXXXX", ERROR_BAD_NETPATH},
    };
    for (const Case& c : cases) {
        HKEY root = 0;
        ASSERT_EQ(store.RegConnectRegistryA(c.name, HKEY_LOCAL_MACHINE, root), c.status) << c.name;
        HKEY key = 0;
        if (c.status == 0) {
            EXPECT_EQ(store.RegOpenKeyExA(root, kCurrentVersion, 0, KEY_READ, key), 0) << c.name;
        } else {
            EXPECT_EQ(root, 0u) << c.name;
        }
    }
    HKEY root = 0;
    EXPECT_EQ(RegistryStore().RegConnectRegistryA("ANY", HKEY_LOCAL_MACHINE, root), ERROR_BAD_NETPATH)
        << "a machine without a name answers only to the empty one";
    EXPECT_EQ(store.RegConnectRegistryA("", HKEY_CURRENT_USER, root), ERROR_INVALID_HANDLE);
    store.SetConnectFails(true);
    root = 0;
    EXPECT_EQ(store.RegConnectRegistryA("", HKEY_LOCAL_MACHINE, root), ERROR_BAD_NETPATH);
    EXPECT_EQ(root, 0u);
}

TEST(RegistryStore, AHandleToAKeyThatAReloadDeletedAnswersKeyDeleted) {
    RegistryStore store = sampleStore();
    HKEY key = 0;
    ASSERT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ, key), 0);
    store.LoadRegedit4("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft]\n", "test");
    uint32_t type = 0, size = 256;
    char buffer[256];
    EXPECT_EQ(store.RegQueryValueExA(key, "ProductName", type, buffer, size), 1018);
}

TEST(RegistryStore, PathsWithOddBackslashes) {
    RegistryStore store = sampleStore();
    HKEY key = 0;
    EXPECT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\SOFTWARE", 0, KEY_READ, key), 161);
    EXPECT_EQ(store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\\\Microsoft\\", 0, KEY_READ, key), 0);
    EXPECT_EQ(store.RegOpenKeyExA(0x80000004, "SOFTWARE", 0, KEY_READ, key), ERROR_INVALID_HANDLE);
    EXPECT_THROW(store.SetString(HKEY_LOCAL_MACHINE, "a\\\\b", "x", "y"), std::invalid_argument);
    EXPECT_THROW(store.SetString(0x1234, "a", "x", "y"), std::invalid_argument);
}

}  // namespace
}  // namespace si32
