// Puts one table of tricky INI and registry queries to the real Windows API
// (the probe, run under Wine) and to our engines, and requires the same
// status, count, type and bytes for every line. Skips, saying why, when the
// cross compiler or Wine is not installed.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/engine/ini_reader.h"
#include "platform/engine/registry_store.h"
#include "tests/support/child_process.h"

extern char** environ;

namespace si32 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string hex(std::string_view bytes) {
    if (bytes.empty()) return ".";
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::string hexNumber(uint32_t n) {
    std::ostringstream s;
    s << std::hex << n;
    return s.str();
}

std::string windowsPath(const fs::path& p) {
    std::string text = "Z:" + p.string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

// --- The table -------------------------------------------------------------

const std::string kBootIni =
    "; leading comment\r\n"
    "[Boot.Description]\r\n"
    "  keyboard.typ  =  Standard 101/102-Key  \r\n"
    "display.drv=\"Quoted value\"\r\n"
    "single='one'\r\n"
    "mismatch=\"open'\r\n"
    "lone=\"\r\n"
    "empty=\r\n"
    "blank=    \r\n"
    "novalue\r\n"
    "inline=value ; not a comment\r\n"
    ";commented=yes\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "eq=a=b\r\n"
    "quotedblanks=\" padded \"\r\n"
    "tab\t=\tvalue\t\r\n"
    "[ spaced ]\r\n"
    "k=in spaced section\r\n"
    "[dupsec]\r\n"
    "first=1\r\n"
    "[DupSec]\r\n"
    "second=2\r\n"
    "first=overridden\r\n"
    "[len]\r\n"
    "v254=" +
    std::string(254, 'a') +
    "\r\n"
    "v255=" +
    std::string(255, 'b') +
    "\r\n"
    "v256=" +
    std::string(256, 'c') +
    "\r\n"
    "v300=" +
    std::string(300, 'd') +
    "\r\n"
    "q253=\"" +
    std::string(253, 'e') +
    "\"\r\n"
    "q254=\"" +
    std::string(254, 'f') +
    "\"\r\n"
    "q255=\"" +
    std::string(255, 'g') +
    "\"\r\n"
    "[ctrlz]\r\n"
    "k=value\x1a\r\n"
    "[tail] trailing text\r\n"
    "k=after a header with text\r\n"
    "[broken\r\n"
    "inner key = under a broken header\r\n"
    "=no name\r\n";

struct IniFile {
    const char* name;
    std::string text;
};

const std::vector<IniFile> kIniFiles = {
    {"boot.ini", kBootIni},
    {"cr.ini", "[s]\rk=carriage returns only\r"},
    {"bom.ini", "\xEF\xBB\xBF[s]\r\nk=after a byte-order mark\r\n"},
    {"top.ini", "top=before any section\r\n[s]\r\nk=v\r\n"},
    {"nonl.ini", "[s]\r\nk=no line end"},
};

struct IniQuery {
    const char* file;  // nullptr: a file that does not exist
    std::string section, key, dflt;
    uint32_t buffer;
};

// Left out on purpose: a default made only of blanks. Wine keeps one blank;
// Windows is documented to strip the trailing blanks of the default, and we
// strip them all.
std::vector<IniQuery> iniQueries() {
    std::vector<IniQuery> q = {
        {"boot.ini", "boot.description", "keyboard.typ", "", 255},
        {"boot.ini", "  BOOT.DESCRIPTION  ", " KEYBOARD.TYP ", "", 255},
        {"boot.ini", "boot.description", "display.drv", "", 255},
        {"boot.ini", "boot.description", "single", "", 255},
        {"boot.ini", "boot.description", "mismatch", "", 255},
        {"boot.ini", "boot.description", "lone", "", 255},
        {"boot.ini", "boot.description", "empty", "", 255},
        {"boot.ini", "boot.description", "empty", "dflt", 255},
        {"boot.ini", "boot.description", "blank", "", 255},
        {"boot.ini", "boot.description", "novalue", "dflt", 255},
        {"boot.ini", "boot.description", "inline", "", 255},
        {"boot.ini", "boot.description", ";commented", "", 255},
        {"boot.ini", "boot.description", "commented", "", 255},
        {"boot.ini", "boot.description", "dup", "", 255},
        {"boot.ini", "boot.description", "eq", "", 255},
        {"boot.ini", "boot.description", "quotedblanks", "", 255},
        {"boot.ini", "boot.description", "tab", "", 255},
        {"boot.ini", "boot.description", "missing", "", 255},
        {"boot.ini", "boot.description", "missing", "dflt   ", 255},
        {"boot.ini", "boot.description", "missing", "\"quoted dflt\"", 255},
        {"boot.ini", "missing", "keyboard.typ", "", 255},
        {"boot.ini", "spaced", "k", "", 255},
        {"boot.ini", " spaced ", "k", "", 255},
        {"boot.ini", "dupsec", "first", "", 255},
        {"boot.ini", "dupsec", "second", "", 255},
        {"boot.ini", "ctrlz", "k", "", 255},
        {"boot.ini", "tail", "k", "", 255},
        {"boot.ini", "tail", "inner key", "", 255},
        {"boot.ini", "broken", "inner key", "", 255},
        {"boot.ini", "tail", "", "dflt", 255},
        {"boot.ini", "boot.description", "missing", "'single'", 255},
        {"boot.ini", "boot.description", "keyboard.typ", "", 0},
        {"boot.ini", "boot.description", "keyboard.typ", "", 1},
        {"boot.ini", "boot.description", "keyboard.typ", "", 2},
        {"boot.ini", "boot.description", "display.drv", "", 12},
        {"boot.ini", "boot.description", "display.drv", "", 13},
        {"boot.ini", "boot.description", "display.drv", "", 14},
        {"cr.ini", "s", "k", "", 255},
        {"bom.ini", "s", "k", "", 255},
        {"top.ini", "", "top", "", 255},
        {"top.ini", "s", "k", "", 255},
        {"nonl.ini", "s", "k", "", 255},
        {nullptr, "s", "k", "", 255},
        {nullptr, "s", "k", "dflt  ", 255},
        {nullptr, "s", "k", "\"q\"", 255},
    };
    for (const char* key : {"v254", "v255", "v256", "v300", "q253", "q254", "q255"})
        for (uint32_t buffer : {255u, 256u, 1024u}) q.push_back({"boot.ini", "len", key, "", buffer});
    return q;
}

struct RegValue {
    std::string name;
    uint32_t type;
    std::string data;
};

const char* const kKey = "Software\\Si32Probe\\K";

const std::vector<RegValue> kRegValues = {
    {"Hello", REG_SZ, "Hello\0"s},
    {"Empty", REG_SZ, "\0"s},
    {"NoNul", REG_SZ, "abc"},
    {"Sz254", REG_SZ, std::string(254, 'a') + '\0'},
    {"Sz255", REG_SZ, std::string(255, 'b') + '\0'},
    {"Sz256", REG_SZ, std::string(256, 'c') + '\0'},
    {"Sz300", REG_SZ, std::string(300, 'd') + '\0'},
    {"Sz1023", REG_SZ, std::string(1023, 'e') + '\0'},
    {"Expand", REG_EXPAND_SZ, "%windir%\\x\0"s},
    {"Dword", REG_DWORD, "\xF4\x01\0\0"s},
    {"Multi", REG_MULTI_SZ, "one\0two\0\0"s},
    {"Binary", REG_BINARY, "\x01\x02\x03"s},
    {"", REG_SZ, "default\0"s},
};

struct RegQuery {
    std::string path, name;
    uint32_t sam, buffer;
};

std::vector<RegQuery> regQueries() {
    std::vector<RegQuery> q = {
        {"SOFTWARE\\si32probe\\k", "HELLO", KEY_READ, 256},
        {kKey, "Hello", 0x000F0063, 256},
        {kKey, "Hello", 0x0002003F, 1024},
        {kKey, "Hello", KEY_READ, 6},
        {kKey, "Hello", KEY_READ, 5},
        {kKey, "Empty", KEY_READ, 256},
        {kKey, "NoNul", KEY_READ, 256},
        {kKey, "Expand", KEY_READ, 256},
        {kKey, "Dword", KEY_READ, 1024},
        {kKey, "Dword", KEY_READ, 3},
        {kKey, "Multi", KEY_READ, 1024},
        {kKey, "Multi", KEY_READ, 9},
        {kKey, "Multi", KEY_READ, 8},
        {kKey, "Dword", KEY_READ, 4},
        {kKey, "Expand", KEY_READ, 4},
        {kKey, "", KEY_READ, 8},
        {kKey, "Binary", KEY_READ, 1024},
        {kKey, "", KEY_READ, 256},
        {kKey, "Missing", KEY_READ, 256},
        {"Software\\Si32Probe\\Missing", "Hello", KEY_READ, 256},
        {"Software\\Si32Probe\\K\\", "Hello", KEY_READ, 256},
        {"\\Software\\Si32Probe\\K", "Hello", KEY_READ, 256},
        {"Software\\\\Si32Probe\\K", "Hello", KEY_READ, 256},
        {"Software\\Si32Probe", "", KEY_READ, 256},
    };
    for (const char* name : {"Sz254", "Sz255", "Sz256", "Sz300", "Sz1023"})
        for (uint32_t buffer : {255u, 256u, 1024u}) q.push_back({kKey, name, KEY_READ, buffer});
    return q;
}

// --- Our answers, in the probe's format -------------------------------------

std::string ourIni(const std::vector<IniFile>& files, const IniQuery& q) {
    std::optional<std::string_view> text;
    for (const auto& f : files)
        if (q.file && f.name == std::string_view(q.file)) text = f.text;
    std::string buffer(q.buffer + 1, '\x55');
    uint32_t count =
        GetPrivateProfileStringFromText(text, q.section, q.key, q.dflt, std::span<char>(buffer.data(), q.buffer));
    bool nul = count < q.buffer && buffer[count] == '\0';
    return "ini " + std::to_string(count) + " " + hex(std::string_view(buffer).substr(0, std::min(count, q.buffer))) +
           " " + (nul ? "1" : "0");
}

std::string ourQuery(RegistryStore& store, const RegQuery& q) {
    HKEY key = 0;
    int32_t open = store.RegOpenKeyExA(HKEY_CURRENT_USER, q.path, 0, q.sam, key);
    if (open != ERROR_SUCCESS) return "query " + std::to_string(open) + " 0 0 0 .";
    std::string buffer(q.buffer, '\x55');
    uint32_t type = 0xFFFF, size = q.buffer;
    int32_t status = store.RegQueryValueExA(key, q.name, type, buffer, size);
    store.RegCloseKey(key);
    std::string bytes = status == ERROR_SUCCESS ? buffer.substr(0, std::min(size, q.buffer)) : "";
    return "query 0 " + std::to_string(status) + " " + hexNumber(type) + " " + std::to_string(size) + " " + hex(bytes);
}

// --- Running the probe ------------------------------------------------------

std::string findWine() {
    if (const char* path = std::getenv("PATH")) {
        std::stringstream dirs(path);
        for (std::string dir; std::getline(dirs, dir, ':');)
            if (!dir.empty() && access((dir + "/wine64").c_str(), X_OK) == 0) return dir + "/wine64";
    }
    // Debian installs the 64-bit loader outside PATH.
    return access("/usr/lib/wine/wine64", X_OK) == 0 ? "/usr/lib/wine/wine64" : "";
}

// Runs argv with the given environment, its output into outputFile; the
// exit status, or -1 when it had to be ended after the time limit.
int run(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& outputFile) {
    testsupport::ChildOptions options;
    // A first run creates the Wine prefix, which takes a while.
    options.patience = std::chrono::minutes(5);
    const testsupport::ChildEnd end = testsupport::runChild(argv, env, options);
    std::ofstream(outputFile, std::ios::binary) << end.out;
    return end.status;
}

class Differential : public ::testing::Test {
protected:
    void SetUp() override {
        probe_ = SI32_WINPROBE_EXE;
        if (probe_.empty())
            GTEST_SKIP() << "x86_64-w64-mingw32-gcc (g++-mingw-w64-x86-64) was not found at configure time";
        wine_ = findWine();
        if (wine_.empty()) GTEST_SKIP() << "wine64 (Debian package wine64) is not installed";
        char dirTemplate[] = "/tmp/si32-winprobe-XXXXXX";
        ASSERT_NE(mkdtemp(dirTemplate), nullptr);
        dir_ = dirTemplate;
    }
    void TearDown() override {
        if (dir_.empty()) return;
        fs::path server = fs::path(wine_).parent_path() / "wineserver";
        if (access(server.c_str(), X_OK) == 0) run({server.string(), "-k"}, environment(), dir_ / "server.out");
        fs::remove_all(dir_);
    }

    std::vector<std::string> environment() const {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string_view entry(*e);
            if (!entry.starts_with("DISPLAY=") && !entry.starts_with("WINE")) env.emplace_back(entry);
        }
        env.push_back("WINEPREFIX=" + (dir_ / "prefix").string());
        env.push_back("WINEDEBUG=-all");
        env.push_back("WINEDLLOVERRIDES=mscoree,mshtml=");
        return env;
    }

    // The probe's output lines for the commands.
    std::vector<std::string> probe(const std::string& commands) {
        std::ofstream(dir_ / "commands.txt", std::ios::binary) << commands;
        int status = run({wine_, probe_, windowsPath(dir_ / "commands.txt")}, environment(), dir_ / "answers.txt");
        EXPECT_EQ(status, 0) << "the probe did not run to its end under Wine";
        std::ifstream in(dir_ / "answers.txt");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    std::string probe_, wine_;
    fs::path dir_;
};

TEST_F(Differential, IniAndRegistryAnswerAsWindows) {
    std::string commands;
    std::vector<std::string> ours, what;

    for (const auto& f : kIniFiles) std::ofstream(dir_ / f.name, std::ios::binary) << f.text;
    for (const auto& q : iniQueries()) {
        std::string file = windowsPath(dir_ / (q.file ? q.file : "absent.ini"));
        commands += "ini " + hex(file) + " " + hex(q.section) + " " + hex(q.key) + " " + hex(q.dflt) + " " +
                    std::to_string(q.buffer) + "\n";
        ours.push_back(ourIni(kIniFiles, q));
        what.push_back(std::string(q.file ? q.file : "(no file)") + " [" + q.section + "] " + q.key + " default \"" +
                       q.dflt + "\" buffer " + std::to_string(q.buffer));
    }

    RegistryStore store;
    for (const auto& v : kRegValues) {
        commands += "set " + hexNumber(HKEY_CURRENT_USER) + " " + hex(kKey) + " " + hex(v.name) + " " +
                    hexNumber(v.type) + " " + hex(v.data) + "\n";
        store.SetValue(HKEY_CURRENT_USER, kKey, v.name, v.type, v.data);
        ours.push_back("set 0");
        what.push_back("set " + v.name);
    }
    for (const auto& q : regQueries()) {
        commands += "query " + hexNumber(HKEY_CURRENT_USER) + " " + hex(q.path) + " " + hex(q.name) + " " +
                    hexNumber(q.sam) + " " + std::to_string(q.buffer) + "\n";
        ours.push_back(ourQuery(store, q));
        what.push_back("query " + q.path + " \"" + q.name + "\" buffer " + std::to_string(q.buffer));
    }

    std::vector<std::string> theirs = probe(commands);
    ASSERT_EQ(theirs.size(), ours.size()) << "the probe answered a different number of lines";
    for (std::size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(ours[i], theirs[i]) << what[i];
}

}  // namespace
}  // namespace si32
