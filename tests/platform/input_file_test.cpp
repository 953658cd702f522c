// Input files are read without blocking, only when regular, and never past
// their limit: each refusal is one clear reason.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/input_file.h"

namespace si32 {
namespace {

TEST(InputFile, RefusesWhatIsNoRegularFileOrTooLarge) {
    const std::string dir = ::testing::TempDir() + "/input_file_" + std::to_string(::getpid());
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    const std::string fifo = dir + "/fifo", big = dir + "/big", small = dir + "/small";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(big) << std::string(2000, 'x');
    std::ofstream(small) << "text";

    struct Case {
        std::string path;
        std::size_t limit;
        std::string refusal;  // empty: read
        bool missing;
    };
    const Case cases[] = {
        {small, 100, "", false},
        {fifo, 100, "not a regular file", false},
        {"/dev/zero", 100, "not a regular file", false},
        {dir, 100, "a directory, not a file", false},
        {big, 1000, "larger than 1000 bytes", false},
        {dir + "/absent", 100, "No such file or directory", true},
    };
    for (const Case& c : cases) {
        const InputFile file = ReadInputFile(c.path, c.limit);
        EXPECT_EQ(file.refusal, c.refusal) << c.path;
        EXPECT_EQ(file.text.has_value(), c.refusal.empty()) << c.path;
        EXPECT_EQ(file.missing, c.missing) << c.path;
    }
    EXPECT_EQ(ReadInputFile(small, 100).text, "text");
    for (const std::string& path : {fifo, big, small}) ::unlink(path.c_str());
    ::rmdir(dir.c_str());
}

TEST(InputFile, NamesInsideAFolderAreRelativeWithoutParentSteps) {
    const std::pair<std::string, bool> cases[] = {
        {"a.reg", true},
        {"regs/a.reg", true},
        {"./a.reg", true},
        {"a/./b", true},
        {"..a.reg", true},
        {"a..b", true},
        {"...", true},
        {"a//b", true},
        {"../a.reg", false},
        {"..", false},
        {"a/..", false},
        {"a/../b", false},
        {"a/../../b", false},
        {"/a.reg", false},
        {"/", false},
        {"", false},
        {std::string("a\0/../b", 7), false},
    };
    for (const auto& [name, inside] : cases) EXPECT_EQ(NamesInsideFolder(name), inside) << name;
}

}  // namespace
}  // namespace si32
