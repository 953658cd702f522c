#include "platform/engine/ini_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace si32 {
namespace {

struct Answer {
    uint32_t count;
    std::string text;  // the buffer up to its first NUL
    bool operator==(const Answer&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Answer& a) { return os << a.count << " \"" << a.text << "\""; }

Answer ask(std::optional<std::string_view> file, std::string_view section, std::string_view key,
           std::string_view dflt = "", std::size_t size = 255) {
    std::string buffer(size, '\x7F');
    uint32_t count = GetPrivateProfileStringFromText(file, section, key, dflt, buffer);
    return {count, buffer.substr(0, buffer.find('\0'))};
}

using namespace std::string_literals;

const std::string kSystemIni =
    "; system.ini\r\n"
    "[boot]\r\n"
    "shell=Explorer.exe\r\n"
    "\r\n"
    "[boot.description]\r\n"
    "  keyboard.typ  =  Standard 101/102-Key  \r\n"
    "display.drv=\"Quoted  \"\r\n"
    "single='one'\r\n"
    "mismatch=\"open'\r\n"
    "lone=\"\r\n"
    "empty=\r\n"
    "novalue\r\n"
    "inline=value ; not a comment\r\n"
    ";commented=yes\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "eq=a=b\r\n"
    "nul=ab\0cd\r\n"
    "[Boot.Description]\r\n"
    "only.in.second=x\r\n"
    "[mci]\r\n"
    "cdaudio=mcicda.drv\x1a\r\n"s;

TEST(IniReader, AnswersAsGetPrivateProfileString) {
    struct Case {
        const char* section;
        const char* key;
        Answer expected;
    };
    const std::vector<Case> cases = {
        {"boot.description", "keyboard.typ", {20, "Standard 101/102-Key"}},
        {"  BOOT.Description ", " KEYBOARD.TYP\t", {20, "Standard 101/102-Key"}},
        {"boot.description", "display.drv", {8, "Quoted  "}},
        {"boot.description", "single", {3, "one"}},
        {"boot.description", "mismatch", {6, "\"open'"}},
        {"boot.description", "lone", {1, "\""}},
        {"boot.description", "empty", {0, ""}},
        {"boot.description", "novalue", {0, ""}},
        {"boot.description", "inline", {21, "value ; not a comment"}},
        {"boot.description", ";commented", {3, "yes"}},
        {"boot.description", "commented", {0, ""}},
        {"boot.description", "dup", {5, "first"}},
        {"boot.description", "eq", {3, "a=b"}},
        {"boot.description", "nul", {2, "ab"}},
        {"boot.description", "only.in.second", {0, ""}},
        {"boot", "keyboard.typ", {0, ""}},
        {"mci", "cdaudio", {10, "mcicda.drv"}},
        {"missing", "shell", {0, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ask(kSystemIni, c.section, c.key), c.expected);
    }
}

TEST(IniReader, DefaultsAndMissingFiles) {
    struct Case {
        std::optional<std::string_view> file;
        const char* key;
        const char* dflt;
        Answer expected;
    };
    const std::vector<Case> cases = {
        {std::nullopt, "x", "", {0, ""}},
        {std::nullopt, "x", "fallback  ", {8, "fallback"}},
        {"[s]\nx=1\n", "y", "  lead", {6, "  lead"}},
        {"[s]\nx=1\n", "y", "\"q\"", {1, "q"}},
        {"[s]\nx\n", "x", "dflt", {4, "dflt"}},
        {"[s]\nx=\n", "x", "dflt", {0, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " default " + c.dflt);
        EXPECT_EQ(ask(c.file, "s", c.key, c.dflt), c.expected);
    }
}

TEST(IniReader, TruncatesToTheBufferLessOneAndAlwaysEndsWithNul) {
    struct Case {
        std::size_t valueLength, bufferSize;
        uint32_t count;
    };
    const std::vector<Case> cases = {
        {254, 255, 254}, {255, 255, 254}, {300, 255, 254}, {255, 256, 255}, {300, 1024, 300}, {5, 1, 0}, {5, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.valueLength) + " in " + std::to_string(c.bufferSize));
        std::string file = "[s]\nk=" + std::string(c.valueLength, 'v') + "\n";
        std::string buffer(c.bufferSize, '\x7F');
        EXPECT_EQ(GetPrivateProfileStringFromText(file, "s", "k", "", buffer), c.count);
        EXPECT_EQ(buffer[c.count], '\0');
        EXPECT_EQ(buffer.find('\x7F'), c.count + 1 < c.bufferSize ? c.count + 1 : std::string::npos);
    }
    std::string none;
    EXPECT_EQ(GetPrivateProfileStringFromText("[s]\nk=v\n", "s", "k", "", none), 0u);
}

TEST(IniReader, AQuotedValueThatFillsTheBufferExactlyLosesOneMore) {
    struct Case {
        std::size_t bufferSize;
        Answer expected;
    };
    const std::vector<Case> cases = {
        {1, {0, ""}}, {2, {1, "a"}}, {4, {3, "abc"}}, {5, {3, "abc"}}, {6, {4, "abcd"}}, {7, {4, "abcd"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bufferSize);
        EXPECT_EQ(ask("[s]\nk=\"abcd\"\n", "s", "k", "", c.bufferSize), c.expected);
    }
    EXPECT_EQ(ask("[s]\nk=\"\"\n", "s", "k", "", 1), (Answer{0, ""}));
}

TEST(IniReader, LineEndsAndOddInputs) {
    struct Case {
        std::string file;
        const char* section;
        const char* key;
        Answer expected;
    };
    const std::vector<Case> cases = {
        {"[s]\rk=cr only\r", "s", "k", {7, "cr only"}},
        {"\xEF\xBB\xBF[s]\nk=bom\n", "s", "k", {3, "bom"}},
        {"top=before any section\n[s]\n", "", "top", {18, "before any section"}},
        {"[s\nk=not a header\n", "s", "k", {0, ""}},
        {"[a]x]\nk=last bracket\n", "a]x", "k", {12, "last bracket"}},
        {"[ spaced\t]\nk=trimmed header\n", "spaced", "k", {14, "trimmed header"}},
        {"[s]\nk=v", "s", "k", {1, "v"}},
        {std::string("[s]\n\0\0\0\nk=after nuls\n", 21), "s", "k", {10, "after nuls"}},
        {std::string(100000, '[') + "\n[s]\nk=v\n", "s", "k", {1, "v"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 40));
        EXPECT_EQ(ask(c.file, c.section, c.key), c.expected);
    }
}

TEST(IniReader, Utf16FilesAreReadInTheCodePage) {
    std::string file = "\xFF\xFE";
    for (char c : std::string("[s]\r\nk=caf\xE9\r\n")) file += {c, '\0'};
    std::string buffer(16, '\x7F');
    EXPECT_EQ(GetPrivateProfileStringFromText(file, "s", "k", "", buffer, 1252), 4u);
    EXPECT_EQ(buffer.substr(0, 5), std::string("caf\xE9\0", 5));
    EXPECT_EQ(GetPrivateProfileStringFromText(file, "s", "k", "", buffer, 65001), 5u);
    EXPECT_EQ(buffer.substr(0, 6), std::string("caf\xC3\xA9\0", 6));
}

TEST(IniReader, NeverSplitsAUtf8Character) {
    // "é" is two bytes; a cut between them moves back before it.
    EXPECT_EQ(ask("[s]\nk=ab\xC3\xA9\n", "s", "k", "", 4), (Answer{2, "ab"}));
    EXPECT_EQ(ask("[s]\nk=ab\xC3\xA9\n", "s", "k", "", 5), (Answer{4, "ab\xC3\xA9"}));
}

}  // namespace
}  // namespace si32
