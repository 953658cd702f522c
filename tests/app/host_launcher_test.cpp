// The "&MS System Info" button on the host, through the report (which runs
// the same handler): the desktop's own system-information tool is started
// once per click, and without one the message appears.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/run_report.h"

namespace {

namespace fs = std::filesystem;

using si32::testsupport::runReport;
using Output = si32::testsupport::ReportRun;

class HostLauncher : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/si32-launcher-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(root / "prefix" / "drive_c");
        fs::create_directories(root / "tools");
        fs::create_directories(root / "runtime");
    }
    void TearDown() override { fs::remove_all(root); }

    // A stand-in for the desktop's tool: it leaves one mark per start.
    void installTool() {
        const fs::path tool = root / "tools" / "hardinfo";
        std::ofstream(tool) << "#!/bin/sh\necho started > \"" << (root / "marks").string() << "/$$\"\n";
        fs::permissions(tool, fs::perms::owner_all);
        fs::create_directories(root / "marks");
    }

    // The search path is the tools folder alone: a tool the machine has
    // installed would otherwise be found, and started, in place of the
    // stand-in (or where the test wants none).
    std::vector<std::string> environment() const {
        std::vector<std::string> env = {"PATH=" + (root / "tools").string(),
                                        "SI32_PREFIX=" + (root / "prefix").string(),
                                        "XDG_RUNTIME_DIR=" + (root / "runtime").string(), "HOME=" + root.string()};
        if (const char* display = std::getenv("DISPLAY")) env.push_back(std::string("DISPLAY=") + display);
        return env;
    }

    fs::path root;
};

TEST_F(HostLauncher, TwoClicksStartTwoCopiesOfTheDesktopTool) {
    installTool();
    const Output out = runReport({"--json", "--click", "--click"}, environment());
    ASSERT_EQ(out.status, 0) << out.out;
    const auto report = nlohmann::json::parse(out.out);
    const std::string tool = (root / "tools" / "hardinfo").string();
    EXPECT_EQ(report["started"], nlohmann::json::array({tool, tool}));
    EXPECT_TRUE(report["messages"].empty());

    std::size_t marks = 0;
    for (int i = 0; i < 500 && marks < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        marks = static_cast<std::size_t>(std::distance(fs::directory_iterator(root / "marks"), {}));
    }
    EXPECT_EQ(marks, 2u) << "each click runs its own copy";
}

TEST_F(HostLauncher, WithoutAToolTheButtonSaysSo) {
    const Output out = runReport({"--json", "--click"}, environment());
    ASSERT_EQ(out.status, 0) << out.out;
    const auto report = nlohmann::json::parse(out.out);
    EXPECT_TRUE(report["started"].empty());
    EXPECT_EQ(report["messages"], nlohmann::json::array({"System Information Is Unavailable At This Time"}));
}

TEST_F(HostLauncher, TheToolsOwnOutputNeverMixesIntoTheReport) {
    const fs::path tool = root / "tools" / "hardinfo";
    std::ofstream(tool) << "#!/bin/sh\necho '}noise on stdout'\necho 'noise on stderr' >&2\n";
    fs::permissions(tool, fs::perms::owner_all);
    const Output out = runReport({"--json", "--click"}, environment());
    ASSERT_EQ(out.status, 0) << out.out;
    EXPECT_TRUE(nlohmann::json::accept(out.out)) << out.out;
    EXPECT_EQ(out.out.find("noise"), std::string::npos) << out.out;
}

TEST_F(HostLauncher, APathWithAFolderMeansThatFileAndNoNamesake) {
    // Both would be "found" by name elsewhere: /usr/bin/true, and a tool
    // named like the folder.
    installTool();
    fs::create_directories(root / "prefix" / "drive_c" / "TOOLS" / "hardinfo.exe");
    for (const char* path : {"C:\\\\NOPE\\\\true.exe", "C:\\\\TOOLS\\\\hardinfo.exe"}) {
        std::ofstream(root / "prefix" / "registry.reg")
            << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\r\n"
            << "\"PATH\"=\"" << path << "\"\r\n";
        const Output out = runReport({"--json", "--click"}, environment());
        ASSERT_EQ(out.status, 0) << out.out;
        const auto report = nlohmann::json::parse(out.out);
        EXPECT_TRUE(report["started"].empty()) << path << ": " << report["started"];
        EXPECT_EQ(report["messages"], nlohmann::json::array({"System Information Is Unavailable At This Time"}))
            << path;
    }
}

}  // namespace
