#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "resource_meter.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("reschk-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

    void write(const std::string& relative, const std::string& text) const {
        fs::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative, std::ios::binary) << text;
    }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FreePercent, RoundsTheFreeShare) {
    const struct {
        uint64_t used, maximum;
        std::optional<int> percent;
    } cases[] = {
        {0, 100, 100}, {25, 100, 75}, {100, 100, 0},        {150, 100, 0},
        {1, 3, 67},    {2, 3, 33},    {5, 0, std::nullopt}, {632, 9223372036854775807ull, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reschk::FreePercent(c.used, c.maximum), c.percent) << c.used << "/" << c.maximum;
}

TEST(ResourceFigures, ReadFromTheKernelFiles) {
    const struct {
        const char* fileNr;
        const char* loadavg;
        const char* threadsMax;
        std::optional<int> handles, tasks;
    } cases[] = {
        {"250\t50\t1000\n", "0.00 0.01 0.05 3/300 4567\n", "1000\n", 80, 70},
        {"632\t0\t2466290\n", "1.53 0.56 0.21 2/130 13216\n", "192739\n", 100, 100},
        {"10 20 1000\n", "0.00 0.01 0.05 3/300 4567\n", "0\n", std::nullopt, std::nullopt},
        {"250 50\n", "0.00 0.01 0.05 300 4567\n", "1000\n", std::nullopt, std::nullopt},
        {"x y z\n", "", "abc\n", std::nullopt, std::nullopt},
        {nullptr, nullptr, nullptr, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        TempDir root;
        if (c.fileNr != nullptr) root.write("proc/sys/fs/file-nr", c.fileNr);
        if (c.loadavg != nullptr) root.write("proc/loadavg", c.loadavg);
        if (c.threadsMax != nullptr) root.write("proc/sys/kernel/threads-max", c.threadsMax);
        EXPECT_EQ(reschk::FreeFileHandlePercent(root.path()), c.handles) << (c.fileNr ? c.fileNr : "none");
        EXPECT_EQ(reschk::FreeTaskPercent(root.path()), c.tasks) << (c.loadavg ? c.loadavg : "none");
    }
}

TEST(ResTmp, WrittenInTheAppletsFormReplacingAnOldOne) {
    TempDir root, work;
    root.write("proc/sys/fs/file-nr", "250\t50\t1000\n");
    root.write("proc/loadavg", "0.00 0.01 0.05 3/300 4567\n");
    root.write("proc/sys/kernel/threads-max", "1000\n");
    work.write("res.tmp", "1,1\r\n");

    EXPECT_EQ(reschk::Run(root.path(), work.path()), 0);
    EXPECT_EQ(readFile(work.path() / "res.tmp"), "80,70\r\n");
    // Nothing but res.tmp is left behind.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(work.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(ResTmp, AFigureThatCannotBeReadIsWrittenAsZero) {
    TempDir root, work;
    root.write("proc/sys/fs/file-nr", "250\t50\t1000\n");
    EXPECT_EQ(reschk::Run(root.path(), work.path()), 0);
    EXPECT_EQ(readFile(work.path() / "res.tmp"), "80,0\r\n");

    TempDir empty, untouched;
    EXPECT_NE(reschk::Run(empty.path(), untouched.path()), 0);
    EXPECT_FALSE(fs::exists(untouched.path() / "res.tmp"));
}

TEST(ResTmp, AReaderNeverSeesAPartOfIt) {
    TempDir work;
    const fs::path target = work.path() / "res.tmp";
    const std::string first = reschk::ResTmpText(11, 22), second = reschk::ResTmpText(100, 100);
    reschk::WriteAtomically(target, first);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const std::string seen = readFile(target);
            if (seen != first && seen != second) ++torn;
        }
    });
    for (int i = 0; i < 300; ++i) reschk::WriteAtomically(target, i % 2 == 0 ? second : first);
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

TEST(ResTmp, AFolderThatCannotBeWrittenRaises) {
    TempDir work;
    EXPECT_ANY_THROW(reschk::WriteAtomically(work.path() / "missing" / "res.tmp", "1,2\r\n"));
}

// The built program on this machine: two figures within 0..100.
TEST(ReschkProgram, MeasuresThisMachine) {
    const fs::path program = RESCHK_PROGRAM;
    if (!fs::exists(program)) GTEST_SKIP() << program << " is not built";
    if (!fs::exists("/proc/sys/fs/file-nr")) GTEST_SKIP() << "this machine has no /proc/sys/fs/file-nr";

    TempDir work;
    const std::string path = program.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Run in the work folder: res.tmp lands in the working directory.
    const fs::path previous = fs::current_path();
    fs::current_path(work.path());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    fs::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const std::string text = readFile(work.path() / "res.tmp");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(text, m, std::regex(R"((\d{1,3}),(\d{1,3})\r\n)"))) << text;
    for (int i : {1, 2}) {
        EXPECT_GE(std::stoi(m[i]), 0);
        EXPECT_LE(std::stoi(m[i]), 100);
    }
}

}  // namespace
