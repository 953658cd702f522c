#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/engine/registry_store.h"

namespace si32 {
namespace {

// The value's type and bytes, or status text when it cannot be read.
std::string read(RegistryStore& store, std::string_view path, std::string_view name) {
    HKEY key = 0;
    if (int32_t s = store.RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key); s != 0)
        return "open " + std::to_string(s);
    std::string buffer(4096, '\0');
    uint32_t type = 0, size = 4096;
    int32_t s = store.RegQueryValueExA(key, name, type, buffer, size);
    store.RegCloseKey(key);
    if (s != 0) return "query " + std::to_string(s);
    return std::to_string(type) + ":" + buffer.substr(0, size);
}

TEST(Regedit4, ReadsEveryValueForm) {
    struct Case {
        const char* what;
        std::string text;  // the lines after the header and [HKEY_LOCAL_MACHINE\K]
        std::string name, expected;
    };
    using namespace std::string_literals;
    const std::vector<Case> cases = {
        {"string", "\"A\"=\"hello\"", "a", "1:hello\0"s},
        {"escapes", R"("A"="say \"hi\" C:\\dir\\")", "A", "1:say \"hi\" C:\\dir\\\0"s},
        {"escaped name", R"("a\"b\\c"="x")", "A\"B\\C", "1:x\0"s},
        {"default value", "@=\"dflt\"", "", "1:dflt\0"s},
        {"dword", "\"D\"=dword:000001f4", "d", "4:\xF4\x01\0\0"s},
        {"dword upper case, short", "\"D\"=DWORD:FF", "d", "4:\xFF\0\0\0"s},
        {"binary", "\"B\"=hex:00,01,ff", "b", "3:\0\x01\xFF"s},
        {"empty binary", "\"B\"=hex:", "b", "3:"s},
        {"expand string", "\"E\"=hex(2):25,00", "e", "2:%\0"s},
        {"multi string", "\"M\"=hex(7):61,00,62,00,00", "m", "7:a\0b\0\0"s},
        {"generic type", "\"Q\"=hex(b):01,02", "q", "11:\x01\x02"s},
        {"continuation", "\"B\"=hex:01,02,\\\r\n  03,\\\n  04", "b", "3:\x01\x02\x03\x04"s},
        {"blanks around =", "\"A\"  =  \"x\"  ", "a", "1:x\0"s},
        {"later line wins", "\"A\"=\"1\"\n\"a\"=\"2\"", "A", "1:2\0"s},
        {"deleted value", "\"A\"=\"1\"\n\"A\"=-", "A", "query 2"},
        {"comments and blank lines", "; note\n\n   ;indented\n\"A\"=\"x\"", "A", "1:x\0"s},
        {"comment ending in a backslash", "; C:\\\n\"A\"=\"x\"", "A", "1:x\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryStore store;
        store.LoadRegedit4("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n" + c.text + "\r\n", "case");
        EXPECT_EQ(read(store, "k", c.name), c.expected);
    }
}

TEST(Regedit4, SectionsCreateAndDeleteKeys) {
    RegistryStore store;
    store.LoadRegedit4(
        "\xEF\xBB\xBFREGEDIT4\n"
        "[HKEY_LOCAL_MACHINE\\A\\B]\n\"v\"=\"1\"\n"
        "[HKLM\\a\\b\\C]\n\"v\"=\"2\"\n"
        "[HKEY_LOCAL_MACHINE\\Gone\\Deep]\n\"v\"=\"3\"\n"
        "[-HKEY_LOCAL_MACHINE\\gone]\n"
        "[HKEY_LOCAL_MACHINE\\Empty]\n",
        "sections");
    EXPECT_EQ(read(store, "A\\B", "v"), std::string("1:1\0", 4));
    EXPECT_EQ(read(store, "A\\B\\c", "v"), std::string("1:2\0", 4));
    EXPECT_EQ(read(store, "Gone\\Deep", "v"), "open 2");
    EXPECT_EQ(read(store, "Gone", "v"), "open 2");
    EXPECT_EQ(read(store, "Empty", "v"), "query 2");
}

TEST(Regedit4, KeyLinesInAnyOrderCaseOrRootSpellingFindTheirKeys) {
    // Lines in file order mostly append; these come out of order, repeat a
    // key in another case and switch roots and root spellings between lines.
    RegistryStore store;
    store.LoadRegedit4(
        "REGEDIT4\n"
        "[HKEY_LOCAL_MACHINE\\K\\b]\n\"v\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\K\\a]\n\"v\"=\"2\"\n"
        "[HKEY_LOCAL_MACHINE\\K\\B]\n\"w\"=\"3\"\n"
        "[HKEY_CURRENT_USER\\K\\c]\n\"v\"=\"user\"\n"
        "[hklm\\k\\C]\n\"v\"=\"4\"\n"
        "[HKEY_LOCAL_MACHINE\\k\\a\\deeper]\n"
        "[HKEY_LOCAL_MACHINE\\K\\A]\n\"v\"=\"5\"\n",
        "order");
    EXPECT_EQ(store.ExportRegedit4(HKEY_LOCAL_MACHINE, "K"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\K\\a]\r\n\"v\"=\"5\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\K\\a\\deeper]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\K\\b]\r\n\"v\"=\"1\"\r\n\"w\"=\"3\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\K\\C]\r\n\"v\"=\"4\"\r\n\r\n");
}

TEST(Regedit4, BadTextNamesSourceAndLineAndLoadsNothing) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "src: line 1: empty text"},
        {"REGEDIT5\n", "src: line 1: the first line must be REGEDIT4 or Windows Registry Editor Version 5.00"},
        {"REGEDIT4\n\"a\"=\"x\"\n", "src: line 2: value outside a key"},
        {"REGEDIT4\n[HKEY_NOWHERE\\x]\n", "src: line 2: unknown root key \"HKEY_NOWHERE\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x\n", "src: line 2: a key line must end with ]"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\a\\\\b]\n", "src: line 2: bad key path"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\n", "src: line 2: bad key path"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE]\n", "src: line 2: a root key cannot be deleted"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\n\"a\"=\"x\n", "src: line 4: text without a closing quote"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=\"C:\\Windows\"\n", "src: line 3: unknown escape \\W"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=\"x\"y\n", "src: line 3: text after the closing quote"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=dword:123456789\n", "src: line 3: dword: needs"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=dword:12g\n", "src: line 3: dword: needs"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=hex:1,,2\n", "src: line 3: bad byte \"\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=hex:100\n", "src: line 3: bad byte \"100\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=hex(zz):00\n", "src: line 3: hex(n): needs"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=hex:00,\\\n  0g\n", "src: line 3: bad byte \"0g\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\"=42\n", "src: line 3: unknown value data"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\n\"a\" \"x\"\n", "src: line 3: expected = after"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\K]\nname=x\n", "src: line 3: expected [key]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RegistryStore store;
        store.SetString(HKEY_LOCAL_MACHINE, "K", "keep", "me");
        try {
            store.LoadRegedit4(c.text, "src");
            ADD_FAILURE() << "no error";
        } catch (const RegistryParseError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message);
        }
        EXPECT_EQ(read(store, "K", "a"), "query 2");
    }
}

TEST(Regedit4, ImportSkipsTheLinesItCannotReadAndKeepsTheRest) {
    RegistryStore store;
    const std::vector<SkippedLine> skipped = store.ImportRegistryFile(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\K] ; a comment\n\"lost\"=\"x\"\n"
        "[HKEY_LOCAL_MACHINE\\K]\n\"a\"=\"x\" trailing\n\"b\"=\"kept\"\n[HKEY_NOWHERE]\n\"c\"=\"y\"\n",
        "user.reg");
    std::vector<std::string> messages;
    for (const SkippedLine& line : skipped) messages.push_back(std::to_string(line.line) + " " + line.message);
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "2 user.reg: line 2: a key line must end with ]",
                            "3 user.reg: line 3: value outside a key",
                            "5 user.reg: line 5: text after the closing quote",
                            "7 user.reg: line 7: unknown root key \"HKEY_NOWHERE\"",
                            "8 user.reg: line 8: value outside a key",
                        }));
    EXPECT_EQ(read(store, "K", "b"), std::string("1:kept\0", 7));
    EXPECT_THROW(store.ImportRegistryFile("not a registry file\n", "user.reg"), RegistryParseError);
}

TEST(Regedit4, Version5ExportsInUtf16AreReadIntoTheCodePage) {
    // Text values and the UTF-16 data of hex(2) both arrive in the code page.
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n"
        u"\"a\"=\"Ren\u00E9e\"\r\n\"e\"=hex(2):25,00,e9,00,00,00\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    RegistryStore store;
    store.LoadRegedit4(bytes, "src", 1252);
    EXPECT_EQ(read(store, "K", "a"), std::string("1:Ren\xE9"
                                                 "e\0",
                                                 8));
    EXPECT_EQ(read(store, "K", "e"), std::string("2:%\xE9\0", 5));
}

TEST(Regedit4, ABadTextLeavesNoTraceOfItsEarlierLines) {
    RegistryStore store;
    store.SetString(HKEY_LOCAL_MACHINE, "K", "keep", "me");
    EXPECT_THROW(store.LoadRegedit4("REGEDIT4\n[HKEY_LOCAL_MACHINE\\New]\n\"a\"=\"x\"\n"
                                    "[-HKEY_LOCAL_MACHINE\\K]\n[HKEY_LOCAL_MACHINE\\New]\n\"b\"=bad\n",
                                    "src"),
                 RegistryParseError);
    EXPECT_EQ(read(store, "K", "keep"), std::string("1:me\0", 5));
    EXPECT_EQ(read(store, "New", "a"), "open 2");
}

TEST(Regedit4, ExportReadsBackIdentically) {
    RegistryStore store;
    store.LoadRegedit4(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Top\\Sub]\n@=\"default\"\n\"q\\\"uote\"=\"back\\\\slash\"\n"
        "[HKEY_LOCAL_MACHINE\\Top\\Empty]\n[HKEY_LOCAL_MACHINE\\Top\\Weird]]\n\"x\"=\"y\"\n",
        "base");
    store.SetDword(HKEY_LOCAL_MACHINE, "Top", "Mhz", 0x1F4);
    store.SetValue(HKEY_LOCAL_MACHINE, "Top", "NoNul", REG_SZ, "abc");
    store.SetValue(HKEY_LOCAL_MACHINE, "Top", "InnerNul", REG_SZ, std::string("a\0b\0", 4));
    store.SetValue(HKEY_LOCAL_MACHINE, "Top", "Lines", REG_SZ, std::string("a\r\nb\0", 5));
    store.SetValue(HKEY_LOCAL_MACHINE, "Top", "ShortDword", REG_DWORD, "ab");
    store.SetValue(HKEY_LOCAL_MACHINE, "Top", "Big", REG_BINARY, std::string(200, '\xAB'));
    store.SetValue(HKEY_LOCAL_MACHINE, "Top", "Multi", REG_MULTI_SZ, std::string("x\0y\0\0", 5));

    std::string exported = store.ExportRegedit4(HKEY_LOCAL_MACHINE, "top");
    EXPECT_NE(exported.find("[HKEY_LOCAL_MACHINE\\Top]\r\n"), std::string::npos) << exported;
    EXPECT_NE(exported.find("\"Mhz\"=dword:000001f4\r\n"), std::string::npos) << exported;
    EXPECT_NE(exported.find("\"NoNul\"=hex(1):61,62,63\r\n"), std::string::npos) << exported;

    RegistryStore copy;
    copy.LoadRegedit4(exported, "exported");
    EXPECT_EQ(copy.ExportRegedit4(HKEY_LOCAL_MACHINE, "Top"), exported);
    for (const char* name : {"Mhz", "NoNul", "InnerNul", "Lines", "ShortDword", "Big", "Multi"})
        EXPECT_EQ(read(copy, "Top", name), read(store, "Top", name)) << name;
    EXPECT_EQ(read(copy, "Top\\Sub", ""), std::string("1:default\0", 10));
    EXPECT_EQ(read(copy, "Top\\Weird]", "x"), std::string("1:y\0", 4));
    EXPECT_EQ(read(copy, "Top\\Empty", "x"), "query 2");
    EXPECT_EQ(store.ExportRegedit4(HKEY_LOCAL_MACHINE, "Missing"), "REGEDIT4\r\n\r\n");
}

// Keys and values are listed by their lower-case spelling whatever order
// and case they were written in, found in any case, and a value written
// again keeps the spelling it was created with.
TEST(Regedit4, ExportListsKeysAndValuesByFoldedNameInAnyWrittenOrder) {
    struct Case {
        const char* what;
        std::vector<std::string> names;  // as written, in this order
        std::string listed;              // as the export lists them, one a line
    };
    const std::vector<Case> cases = {
        {"case does not order", {"beta", "Alpha", "GAMMA"}, "Alpha\nbeta\nGAMMA\n"},
        {"a prefix comes first", {"ab", "a", "abc", "A1"}, "a\nA1\nab\nabc\n"},
        {"digits and signs before letters", {"k", "K_", "K0", "k-"}, "k\nk-\nK0\nK_\n"},
        {"bytes past ASCII after every letter", {"\xC4x", "zz", "\xE4", "Z"}, "Z\nzz\n\xC4x\n\xE4\n"},
        {"written again in other case", {"Name", "NAME", "name"}, "Name\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string keys = "REGEDIT4\n", values = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\V]\n";
        for (const auto& name : c.names) {
            keys += "[HKEY_LOCAL_MACHINE\\K\\" + name + "]\n";
            values += "\"" + name + "\"=\"" + name + "\"\n";
        }
        RegistryStore store;
        store.LoadRegedit4(keys, "keys");
        store.LoadRegedit4(values, "values");
        std::string listedKeys, listedValues;
        const std::string keyText = store.ExportRegedit4(HKEY_LOCAL_MACHINE, "K");
        const std::string child = "[HKEY_LOCAL_MACHINE\\K\\";
        for (std::size_t at = 0; (at = keyText.find(child, at)) != std::string::npos;) {
            at += child.size();
            listedKeys += keyText.substr(at, keyText.find(']', at) - at) + "\n";
        }
        const std::string valueText = store.ExportRegedit4(HKEY_LOCAL_MACHINE, "V");
        for (std::size_t at = 0; (at = valueText.find("\r\n\"", at)) != std::string::npos;) {
            at += 3;
            listedValues += valueText.substr(at, valueText.find('"', at) - at) + "\n";
        }
        EXPECT_EQ(listedKeys, c.listed);
        EXPECT_EQ(listedValues, c.listed);
        // The last writing's data under the first writing's name.
        EXPECT_EQ(read(store, "v", c.names.back()), "1:" + c.names.back() + std::string(1, '\0'));
    }
}

// Siblings in any order and number: each is found under its own name.
TEST(Regedit4, ManySiblingsWrittenOutOfOrderAreAllFound) {
    std::string text = "REGEDIT4\n";
    constexpr int kKeys = 2000;
    for (int i = 0; i < kKeys; ++i) {
        const int k = (i * 7919) % kKeys;  // every number once, scattered
        text += "[HKEY_LOCAL_MACHINE\\S\\Key" + std::to_string(k) + "]\n\"n\"=dword:" + std::to_string(k) + "\n";
    }
    RegistryStore store;
    store.ImportRegistryFile(text, "many");
    for (const int k : {0, 1, 999, 1000, 1999}) {
        // The number was written as hexadecimal digits.
        const auto number = std::stoul(std::to_string(k), nullptr, 16);
        std::string expected = "4:";
        for (int b = 0; b < 4; ++b) expected.push_back(static_cast<char>(number >> 8 * b & 0xFF));
        EXPECT_EQ(read(store, "s\\KEY" + std::to_string(k), "N"), expected) << k;
    }
    EXPECT_EQ(read(store, "S\\Key2000", "n"), "open 2");
}

}  // namespace
}  // namespace si32
