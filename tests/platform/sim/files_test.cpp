// Files and programs of the simulated machine: lookup by attribute, current
// drive and directories, reading, deleting, and program starts with what
// they write.
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "tests/platform/sim/sim_test_support.h"

namespace si32::simtest {
namespace {

constexpr const char* kMachine = R"({
  "files": {
    "C:\\WINDOWS\\SYSTEM\\TRVWIN.INI": { "text": "AB\r\n" },
    "C:\\WINDOWS\\hidden.sys": { "attributes": ["hidden"] },
    "C:\\WINDOWS\\io.sys": { "attributes": ["system"] },
    "C:\\WINDOWS\\FONTS": { "attributes": ["directory"], "modified": "1998-05-11T20:01:00" },
    "C:\\TARVELLO\\tarvello.exe": { "modified": "2005-12-07T14:10:00" },
    "C:\\TARVELLO\\readme.txt": { "text": "x" },
    "D:\\DATA\\a.txt": { "text": "d" }
  },
  "programs": {
    "reschk.exe": { "writes": { "res.tmp": "85,55\r\n" } },
    "C:\\WINDOWS\\MSINFO32.EXE": {},
    "broken.exe": { "fails_to_start": true }
  },
  "current_directory": "C:\\WINDOWS",
  "drives": [ { "letter": "C" }, { "letter": "E" } ]
})";

std::string readAll(SequentialFile& file) {
    std::string text;
    for (int c = file.Get(); c != -1; c = file.Get()) text += static_cast<char>(c);
    return text;
}

ErrorKind raisedKind(const std::function<void()>& call) {
    try {
        call();
    } catch (const RunTimeError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "nothing raised";
    return ErrorKind::Overflow;
}

struct DirCase {
    const char* path;
    const char* found;
};

void PrintTo(const DirCase& c, std::ostream* out) { *out << "\"" << c.path << "\""; }

class DirLookup : public ::testing::TestWithParam<DirCase> {};

TEST_P(DirLookup, FindsOrdinaryFilesOnly) {
    TestMachine m(kMachine);
    EXPECT_EQ(GetParam().found, m.platform().files.Dir(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(Paths, DirLookup,
                         ::testing::Values(DirCase{"c:\\windows\\system\\trvwin.ini", "TRVWIN.INI"},
                                           DirCase{"SYSTEM\\TRVWIN.INI", "TRVWIN.INI"},
                                           DirCase{"C:\\WINDOWS\\hidden.sys", ""}, DirCase{"C:\\WINDOWS\\io.sys", ""},
                                           DirCase{"C:\\WINDOWS\\FONTS", ""}, DirCase{"C:\\WINDOWS\\SYSTEM", ""},
                                           DirCase{"C:\\WINDOWS\\missing.ini", ""},
                                           DirCase{"C:\\TARVELLO\\*.txt", "readme.txt"},
                                           DirCase{"C:\\TARVELLO\\", "readme.txt"}, DirCase{"C:\\WINDOWS\\*.*", ""},
                                           DirCase{"D:\\DATA\\A.TXT", "a.txt"}, DirCase{"", ""}));

TEST(FilesCurrentDirectory, PerDriveDirectoriesAsOnWindows) {
    TestMachine m(kMachine);
    Files& f = m.platform().files;
    EXPECT_EQ("C:\\WINDOWS", f.CurDir());
    f.ChDir("SYSTEM");
    EXPECT_EQ("C:\\WINDOWS\\SYSTEM", f.CurDir());
    EXPECT_EQ("AB\r\n", readAll(*f.OpenForInput("trvwin.ini")));
    // Another drive's directory changes without changing the drive.
    f.ChDir("D:\\DATA");
    EXPECT_EQ("C:\\WINDOWS\\SYSTEM", f.CurDir());
    f.ChDrive("d:\\anything");
    EXPECT_EQ("D:\\DATA", f.CurDir());
    f.ChDir("..");
    EXPECT_EQ("D:\\", f.CurDir());
    f.ChDrive("E");
    EXPECT_EQ("E:\\", f.CurDir());
    f.ChDir("C:\\WINDOWS\\FONTS");
    f.ChDrive("C");
    EXPECT_EQ("C:\\WINDOWS\\FONTS", f.CurDir());
}

TEST(FilesCurrentDirectory, MissingFoldersDrivesAndFilesRaiseFileNotFound) {
    TestMachine m(kMachine);
    Files& f = m.platform().files;
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.ChDir("C:\\NOWHERE"); }));
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.ChDir("C:\\TARVELLO\\readme.txt"); }));
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.ChDrive("Q"); }));
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.OpenForInput("C:\\WINDOWS\\missing.ini"); }));
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.OpenForInput("C:\\WINDOWS\\FONTS"); }));
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.FileDateTime("C:\\WINDOWS\\missing.ini"); }));
    EXPECT_EQ(ErrorKind::FileNotFound, raisedKind([&] { f.Kill("C:\\WINDOWS\\missing.ini"); }));
    EXPECT_EQ("C:\\WINDOWS", f.CurDir());
}

TEST(FilesDates, ModifiedOrTheEarliestFatDate) {
    TestMachine m(kMachine);
    DateTime when = m.platform().files.FileDateTime("C:\\TARVELLO\\TARVELLO.EXE");
    EXPECT_EQ((std::vector<int32_t>{2005, 12, 7, 14, 10, 0}),
              (std::vector<int32_t>{when.year, when.month, when.day, when.hour, when.minute, when.second}));
    DateTime undated = m.platform().files.FileDateTime("C:\\TARVELLO\\readme.txt");
    EXPECT_EQ(1980, undated.year);
    EXPECT_EQ(1998, m.platform().files.FileDateTime("C:\\WINDOWS\\FONTS").year);
}

TEST(FilesPrograms, StartWritesRecordsAndDeletes) {
    TestMachine m(kMachine);
    Files& f = m.platform().files;
    f.ChDir("C:\\TARVELLO");
    f.Shell({"reschk.exe"}, vbNormalFocus);
    // The program wrote into the current directory before the start returned.
    EXPECT_EQ("85,55\r\n", readAll(*f.OpenForInput("res.tmp")));
    EXPECT_EQ("res.tmp", f.Dir("C:\\TARVELLO\\RES.TMP"));
    f.Kill("res.tmp");
    EXPECT_EQ("", f.Dir("C:\\TARVELLO\\res.tmp"));
    for (const sim::FileFacts& file : m.machine->fileSystem()) EXPECT_NE("C:\\TARVELLO\\res.tmp", file.path);

    EXPECT_EQ(std::vector<std::string>{"reschk.exe"}, m.machine->started());
}

struct StartCase {
    const char* currentDirectory;
    const char* program;
    std::optional<ErrorKind> raised;
};

void PrintTo(const StartCase& c, std::ostream* out) { *out << c.currentDirectory << " " << c.program; }

class ProgramStarts : public ::testing::TestWithParam<StartCase> {};

TEST_P(ProgramStarts, ListedProgramsStartAsNamedOthersRaise) {
    TestMachine m(kMachine);
    Files& f = m.platform().files;
    const StartCase& c = GetParam();
    f.ChDir(c.currentDirectory);
    if (c.raised) {
        EXPECT_EQ(*c.raised, raisedKind([&] { f.Shell({c.program, "/argument"}, vbNormalFocus); }));
        EXPECT_TRUE(m.machine->started().empty());
    } else {
        f.Shell({c.program, "/argument"}, vbNormalFocus);
        EXPECT_EQ(std::vector<std::string>{c.program}, m.machine->started());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProgramStarts,
    ::testing::Values(StartCase{"C:\\", "c:\\windows\\msinfo32.exe", std::nullopt},
                      StartCase{"C:\\WINDOWS", "MSINFO32.EXE", std::nullopt},  // a listed path, here
                      StartCase{"C:\\", "MSINFO32.EXE", ErrorKind::FileNotFound},
                      StartCase{"C:\\TARVELLO", "RESCHK.EXE", std::nullopt},
                      StartCase{"C:\\TARVELLO", "C:\\TARVELLO\\reschk.exe", std::nullopt},  // a bare name, here
                      StartCase{"C:\\WINDOWS", "C:\\TARVELLO\\reschk.exe", ErrorKind::FileNotFound},
                      StartCase{"C:\\", "C:\\TARVELLO\\tarvello.exe",
                                ErrorKind::FileNotFound},  // a file, not a program
                      StartCase{"C:\\", "broken.exe", ErrorKind::PlatformFailure},
                      StartCase{"C:\\", "", ErrorKind::FileNotFound}));

TEST(FilesPrograms, EveryStartIsRecordedInOrderAsNamed) {
    TestMachine m(kMachine);
    Files& f = m.platform().files;
    uint32_t first = f.Shell({"C:\\WINDOWS\\MSINFO32.EXE"}, vbNormalFocus);
    uint32_t second = f.Shell({"msinfo32.exe"}, vbNormalFocus);
    EXPECT_NE(first, second);
    EXPECT_EQ((std::vector<std::string>{"C:\\WINDOWS\\MSINFO32.EXE", "msinfo32.exe"}), f.Started());
}

}  // namespace
}  // namespace si32::simtest
