// The paths a recording files its answers under: one key per file however
// the program named it, so the replay finds it the same way.
#include <gtest/gtest.h>

#include "platform/capture/windows_paths.h"

namespace si32::capture {
namespace {

TEST(CapturePaths, FullPathOfWhatTheProgramWrote) {
    const struct {
        const char* path;
        const char* current;
        const char* full;
    } cases[] = {
        {"res.tmp", "C:\\TARVELLO", "C:\\TARVELLO\\res.tmp"},
        {"res.tmp", "C:\\", "C:\\res.tmp"},
        {"c:\\windows\\system.ini", "D:\\WORK", "C:\\windows\\system.ini"},
        {"\\TOOLS\\x.exe", "D:\\WORK", "D:\\TOOLS\\x.exe"},
        {"..\\x.ini", "C:\\A\\B", "C:\\A\\x.ini"},
        {".\\x.ini", "C:\\A", "C:\\A\\x.ini"},
        {"..\\..\\..\\x", "C:\\A", "C:\\x"},
        {"C:x.ini", "C:\\A", "C:\\A\\x.ini"},
        {"D:x.ini", "C:\\A", "D:\\x.ini"},
        {"C:\\TARVELLO\\", "D:\\", "C:\\TARVELLO\\"},
        {"C:/A/b.txt", "D:\\", "C:\\A\\b.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(fullWindowsPath(c.path, c.current), c.full) << c.path << " in " << c.current;
}

TEST(CapturePaths, IniFilesAndDriveLetters) {
    EXPECT_EQ(iniFilePath("system.ini", "C:\\WINDOWS"), "C:\\WINDOWS\\system.ini");
    EXPECT_EQ(iniFilePath("win.ini", "C:\\WINDOWS\\"), "C:\\WINDOWS\\win.ini");
    EXPECT_EQ(iniFilePath("D:\\APP\\app.ini", "C:\\WINDOWS"), "D:\\APP\\app.ini");

    const struct {
        const char* path;
        std::optional<char> letter;
    } paths[] = {
        {"c:\\", 'C'}, {"d:", 'D'}, {"X:\\DATA", 'X'}, {"", std::nullopt}, {"1:\\", std::nullopt}, {"c", std::nullopt},
    };
    for (const auto& p : paths) EXPECT_EQ(driveLetterOf(p.path), p.letter) << p.path;
    EXPECT_EQ(fullKeyPath(HKEY_LOCAL_MACHINE, "SOFTWARE\\X"), "HKEY_LOCAL_MACHINE\\SOFTWARE\\X");
    EXPECT_EQ(fullKeyPath(HKEY_CURRENT_USER, ""), "HKEY_CURRENT_USER");
}

}  // namespace
}  // namespace si32::capture
