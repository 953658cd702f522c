// Files and processes on the host: lookup rules, current places, reading,
// dates, deletion and program start.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/host/kernel/host_kernel.h"
#include "platform/host/kernel/host_process.h"
#include "platform/run_time_error.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

using hosttest::ScratchDir;
using hosttest::ScratchPrefix;

ErrorKind kindOf(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const RunTimeError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "nothing raised";
    return ErrorKind::PlatformFailure;
}

std::optional<std::string> waitForFile(const std::string& path) {
    for (int i = 0; i < 1000; ++i) {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::ostringstream text;
            text << in.rdbuf();
            return text.str();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

std::string probe() { return hosttest::binaryDir() + "/bin/host_argv_probe"; }

TEST(HostFiles, DirFindsOrdinaryFilesOnly) {
    ScratchPrefix prefix;
    prefix.dir.write("drive_c/Data/Report.TXT", "x");
    prefix.dir.write("drive_c/Data/.profile", "x");
    prefix.dir.mkdir("drive_c/Data/Folder");
    ::symlink("Report.TXT", (prefix.driveC() + "/Data/link.txt").c_str());
    HostFiles files(prefix.context, prefix.drives);
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Data\\Report.TXT", "Report.TXT"},
        {"c:\\data\\report.txt", "Report.TXT"},
        {"C:\\Data\\link.txt", "link.txt"},
        {"C:\\Data\\.profile", ""},
        {"C:\\Data\\Folder", ""},
        {"C:\\Data\\missing.txt", ""},
        {"Q:\\Data\\Report.TXT", ""},
        {"", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(files.Dir(path), name) << path;
}

TEST(HostFiles, CurrentDriveAndDirectory) {
    ScratchPrefix prefix;
    prefix.dir.mkdir("drive_c/WINDOWS/SYSTEM");
    prefix.dir.mkdir("drive_c/TARVELLO");
    HostFiles files(prefix.context, prefix.drives);
    files.ChDrive("C:");
    files.ChDir("C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(files.CurDir(), "C:\\WINDOWS\\SYSTEM");
    files.ChDir("..\\..\\TARVELLO");
    EXPECT_EQ(files.CurDir(), "C:\\TARVELLO");
    files.ChDir("\\");
    EXPECT_EQ(files.CurDir(), "C:\\");

    EXPECT_EQ(kindOf([&] { files.ChDir("C:\\NoSuchFolder"); }), ErrorKind::FileNotFound);
    EXPECT_EQ(kindOf([&] { files.ChDir("Q:\\"); }), ErrorKind::FileNotFound);
    EXPECT_EQ(kindOf([&] { files.ChDrive("Q"); }), ErrorKind::PlatformFailure);
    EXPECT_EQ(files.CurDir(), "C:\\") << "a failed change changes nothing";
}

TEST(HostFiles, ReadsDatesAndDeletes) {
    ScratchPrefix prefix;
    std::string bytes = "\"C:\\TARVELLO\",\"C:\"\r\n";
    bytes += std::string(70000, 'z');
    bytes += "\xff";
    const std::string host = prefix.dir.write("drive_c/TARVELLO/res.tmp", bytes);
    HostFiles files(prefix.context, prefix.drives);
    files.ChDir("C:\\TARVELLO");

    auto file = files.OpenForInput("RES.TMP");
    std::string read;
    for (int c; (c = file->Get()) != -1;) read += static_cast<char>(c);
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(file->Get(), -1);

    std::tm local{};
    local.tm_year = 2005 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = 14;
    local.tm_min = 10;
    local.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, host.c_str(), times, 0), 0);
    const DateTime date = files.FileDateTime("C:\\TARVELLO\\res.tmp");
    EXPECT_EQ(std::tuple(date.year, date.month, date.day, date.hour, date.minute, date.second),
              std::tuple(2005, 12, 7, 14, 10, 0));

    files.Kill("res.tmp");
    EXPECT_EQ(files.Dir("C:\\TARVELLO\\res.tmp"), "");
    EXPECT_EQ(kindOf([&] { files.Kill("res.tmp"); }), ErrorKind::FileNotFound);
    EXPECT_EQ(kindOf([&] { files.OpenForInput("res.tmp"); }), ErrorKind::FileNotFound);
    EXPECT_EQ(kindOf([&] { files.FileDateTime("res.tmp"); }), ErrorKind::FileNotFound);
    EXPECT_EQ(kindOf([&] { files.OpenForInput("Q:\\x"); }), ErrorKind::FileNotFound);
}

TEST(HostFiles, OnlyRegularFilesOpenForInputAndNoneBlocks) {
    ScratchPrefix prefix;
    const std::string system = prefix.driveC() + "/WINDOWS/SYSTEM";
    ASSERT_EQ(::mkfifo((system + "/FIFO.INI").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (system + "/ZERO.INI").c_str()), 0);
    prefix.dir.mkdir("drive_c/WINDOWS/SYSTEM/DIR.INI");
    HostFiles files(prefix.context, prefix.drives);
    for (const char* name :
         {"C:\\WINDOWS\\SYSTEM\\FIFO.INI", "C:\\WINDOWS\\SYSTEM\\ZERO.INI", "C:\\WINDOWS\\SYSTEM\\DIR.INI"})
        EXPECT_EQ(kindOf([&] { files.OpenForInput(name); }), ErrorKind::PlatformFailure) << name;
}

TEST(HostFiles, ShellPassesEveryArgumentWhole) {
    ScratchPrefix prefix;
    prefix.dir.mkdir("drive_c/Work Dir");
    HostFiles files(prefix.context, prefix.drives);
    files.ChDir("C:\\Work Dir");
    const std::vector<std::string> args{"a b; touch pwned", "$(touch pwned) `id` 'q' \"d\"", "| & > < *", ""};
    std::vector<std::string> argv{probe()};
    argv.insert(argv.end(), args.begin(), args.end());

    const uint32_t pid = files.Shell(argv, vbNormalFocus);
    EXPECT_GT(pid, 0u);
    const auto out = waitForFile(prefix.driveC() + "/Work Dir/argv.out");
    ASSERT_TRUE(out) << "the program did not run in the current directory";
    std::string expected;
    for (const std::string& arg : args) expected += arg + '\0';
    EXPECT_EQ(*out, expected);
    EXPECT_FALSE(std::filesystem::exists(prefix.driveC() + "/Work Dir/pwned"));
    EXPECT_EQ(files.Started(), std::vector<std::string>{probe()});

    // The child is reaped once it ends: no zombie stays behind.
    const std::string proc = "/proc/" + std::to_string(pid);
    for (int i = 0; i < 1000 && std::filesystem::exists(proc); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(std::filesystem::exists(proc));
}

TEST(HostFiles, ShellFindsExeNamesBesideTheProgramsAndFailsLoudly) {
    ScratchPrefix prefix;
    HostFiles files(prefix.context, prefix.drives);
    const uint32_t pid = files.Shell({"HOST_ARGV_PROBE.EXE", "beside"}, vbNormalFocus);
    EXPECT_GT(pid, 0u);
    EXPECT_EQ(waitForFile(prefix.driveC() + "/argv.out"), std::string("beside") + '\0');
    EXPECT_EQ(files.Started(), std::vector<std::string>{"HOST_ARGV_PROBE.EXE"});

    EXPECT_EQ(kindOf([&] { files.Shell({"no-such-program.exe"}, vbNormalFocus); }), ErrorKind::FileNotFound);
    prefix.dir.write("drive_c/notes.txt", "not a program");
    EXPECT_EQ(kindOf([&] { files.Shell({"C:\\notes.txt"}, vbNormalFocus); }), ErrorKind::FileNotFound);
    EXPECT_EQ(files.Started().size(), 1u);
}

TEST(HostFiles, WaitForExitWaitsForTheStartedProgramOnly) {
    ScratchPrefix prefix;
    HostFiles files(prefix.context, prefix.drives);
    const uint32_t pid = files.Shell({"/bin/sleep", "0.4"}, vbNormalFocus);
    EXPECT_FALSE(files.WaitForExit(pid, 20)) << "still sleeping";
    EXPECT_TRUE(files.WaitForExit(pid, 10000));
    EXPECT_TRUE(files.WaitForExit(pid, 0)) << "an ended program stays ended";
    EXPECT_TRUE(files.WaitForExit(999999999u, 0)) << "not one of ours";
}

TEST(ProgramSearch, ExeNamesWithoutTheirExtension) {
    ScratchDir dirs;
    const std::string beside = dirs.mkdir("bin"), libexec = dirs.mkdir("libexec"), current = dirs.mkdir("cwd"),
                      path1 = dirs.mkdir("p1"), path2 = dirs.mkdir("p2");
    const ProgramSearch search{{beside, libexec}, current, path1 + "::" + path2};
    const std::string written = dirs.write("cwd/tool.exe", "#!/bin/sh\n", true);
    dirs.write("p2/tool", "#!/bin/sh\n", true);
    dirs.write("p2/msinfo32", "#!/bin/sh\n", true);
    dirs.write("p2/folder", "#!/bin/sh\n", true);
    dirs.write("p1/other", "not executable\n");
    dirs.write("p2/other", "#!/bin/sh\n", true);
    dirs.write("cwd/reschk", "#!/bin/sh\n", true);
    dirs.write("bin/reschk", "#!/bin/sh\n", true);
    dirs.write("libexec/helper", "#!/bin/sh\n", true);
    dirs.write("cwd/helper", "#!/bin/sh\n", true);

    struct Case {
        const char* name;
        std::optional<std::string> asWritten;
        std::optional<std::string> found;
    };
    const Case cases[] = {
        {"tool.exe", written, written},
        {"reschk.exe", std::nullopt, beside + "/reschk"},
        {"HELPER.EXE", std::nullopt, libexec + "/helper"},
        // A name with a folder means that file: never a namesake elsewhere.
        {"C:\\WINDOWS\\MSINFO32.EXE", dirs.path() + "/absent", std::nullopt},
        {"C:\\NOPE\\tool.exe", dirs.path() + "/NOPE/tool.exe", std::nullopt},
        {"C:tool.exe", std::nullopt, std::nullopt},
        {"C:\\cwd\\folder.exe", dirs.mkdir("cwd/folder.exe"), std::nullopt},
        {"other.exe", std::nullopt, path2 + "/other"},
        {"other", std::nullopt, std::nullopt},
        {"absent.exe", std::nullopt, std::nullopt},
        {".exe", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(findProgram(c.name, c.asWritten, search), c.found) << c.name;

    dirs.write("cwd/tool", "#!/bin/sh\n", true);
    EXPECT_EQ(findProgram("TOOL.EXE", std::nullopt, search), current + "/tool") << "the current directory before PATH";
}

}  // namespace
}  // namespace si32
