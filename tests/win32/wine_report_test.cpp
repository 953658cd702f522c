// The Windows programs on every Windows that Wine emulates: the version calls
// answer what Wine's setting says, the report names the system by the
// start-up's rules, and a capture taken there replays on Linux with the same
// report for every drive. Skips, saying why, when the cross compilers or
// Wine are not installed.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/support/report_differences.h"
#include "tests/support/run_report.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/source_dir.h"
#include "tests/support/wine.h"
#include "tests/win32/wine_programs.h"

namespace si32 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using testsupport::WinePrefix;

// What Wine's version setting makes GetVersionExA answer (Wine's own table):
// the systems of the Windows 95 line only to 32-bit programs.
struct WineVersion {
    const char* setting;
    bool bits64;
    uint32_t platformId, major, minor, build;
};

const WineVersion kVersions[] = {
    {"win10", true, 2, 10, 0, 18362}, {"win81", true, 2, 6, 3, 9600},   {"win7", true, 2, 6, 1, 7601},
    {"vista", true, 2, 6, 0, 6002},   {"win2003", true, 2, 5, 2, 3790}, {"winxp", false, 2, 5, 1, 2600},
    {"win2k", false, 2, 5, 0, 2195},  {"nt40", false, 2, 4, 0, 1381},   {"win98", false, 1, 4, 10, 2222},
    {"win95", false, 1, 4, 0, 950},   {"winme", false, 1, 4, 90, 3000},
};

// Named by its setting where a test names its parameter.
void PrintTo(const WineVersion& v, std::ostream* out) { *out << v.setting; }

using testsupport::templatePrefix;
using testsupport::windowsPrograms;

std::string skipReason(bool bits64) { return testsupport::wineSkipReason(bits64); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) out.push_back(line);
    }
    return out;
}

// The one prefix every version starts from: booting one costs Wine half a
// minute, copying it a moment.
TEST(WineTemplate, Boots) {
    if (const std::string why = skipReason(true); !why.empty()) GTEST_SKIP() << why;
    fs::remove_all(templatePrefix().parent_path() / "template-run");
    fs::remove_all(templatePrefix());
    fs::create_directories(templatePrefix().parent_path() / "template-run");
    {
        WinePrefix prefix(templatePrefix().parent_path() / "template-run");
        const auto boot = prefix.run({testsupport::wineLoader(true), "wineboot", "--init"});
        ASSERT_EQ(boot.status, 0) << "wineboot did not finish";
        // Everything written before the copy is taken.
        prefix.run({(fs::path(testsupport::wineLoader(true)).parent_path() / "wineserver").string(), "-w"});
        fs::rename(prefix.path(), templatePrefix());
    }
    fs::remove_all(templatePrefix().parent_path() / "template-run");
}

TEST(WineTemplate, Removed) {
    fs::remove_all(templatePrefix());
    EXPECT_FALSE(fs::exists(templatePrefix()));
}

class WineReport : public ::testing::TestWithParam<WineVersion> {};

TEST_P(WineReport, NamesTheSystemAndReplaysOnLinux) {
    const WineVersion& v = GetParam();
    if (const std::string why = skipReason(v.bits64); !why.empty()) GTEST_SKIP() << why;
    ASSERT_TRUE(fs::exists(templatePrefix())) << "the fixture WineTemplate.Boots did not run";
    testsupport::ScratchDir dir("si32-wine-" + std::string(v.setting));
    ASSERT_FALSE(dir.path().empty());
    WinePrefix prefix(dir.path(), templatePrefix());
    const std::string loader = testsupport::wineLoader(v.bits64);
    const std::string report = windowsPrograms(v.bits64) + "/si32-report.exe";
    ASSERT_EQ(prefix.run({loader, "reg", "add", "HKCU\\Software\\Wine", "/v", "Version", "/d", v.setting, "/f"}).status,
              0);

    const std::vector<std::string> drives = lines(prefix.run({loader, report, "--list-drives"}).out);
    ASSERT_FALSE(drives.empty()) << "no drive list under Wine";
    for (const std::string& entry : drives) {
        const std::string letter = entry.substr(0, 1);
        SCOPED_TRACE(std::string(v.setting) + ", drive " + letter);
        const fs::path capture = dir / ("capture-" + letter + ".json");
        const auto shown =
            prefix.run({loader, report, "--capture", testsupport::windowsPath(capture), "--json", "--drive", letter});
        ASSERT_EQ(shown.status, 0) << "the capture under Wine failed";

        const Json description = Json::parse(std::ifstream(capture), nullptr, false);
        ASSERT_FALSE(description.is_discarded()) << "the capture is no JSON";
        const Json& version = description["version"];
        EXPECT_EQ(version["platform_id"], v.platformId);
        EXPECT_EQ(version["major"], v.major);
        EXPECT_EQ(version["minor"], v.minor);
        // The Windows 95 line keeps the version in the high word.
        EXPECT_EQ(version["build"].get<uint32_t>() & 0xFFFF, v.build);

        // The start-up's rules, applied on Linux to the same answers, name
        // the same system, version, build and DOS version, and show the same
        // window field for field.
        std::vector<std::string> env = testsupport::environmentWithout({"SI32_MACHINE", "SI32_PREFIX", "DISPLAY"});
        env.push_back("SI32_MACHINE=" + capture.string());
        const auto replayed = testsupport::runReport({"--json", "--drive", letter}, env);
        ASSERT_EQ(replayed.status, 0) << replayed.err;
        EXPECT_EQ(testsupport::reportDifferences(Json::parse(replayed.out), Json::parse(shown.out)), "");
    }
}

// The table of calls whose rules both Linux backends follow, answered by
// the Windows calls themselves (built for Windows with the programs).
TEST(WineContract, TheWindowsCallsAnswerAsTheSimulatedMachine) {
    if (const std::string why = skipReason(true); !why.empty()) GTEST_SKIP() << why;
    const std::string test = windowsPrograms(true) + "/platform_contract_test.exe";
    if (!fs::exists(test))
        GTEST_SKIP() << "the contract test was not built for Windows (GoogleTest's source from libgtest-dev)";
    ASSERT_TRUE(fs::exists(templatePrefix())) << "the fixture WineTemplate.Boots did not run";
    testsupport::ScratchDir dir("si32-wine-contract");
    ASSERT_FALSE(dir.path().empty());
    WinePrefix prefix(dir.path(), templatePrefix());
    const auto run = prefix.run({testsupport::wineLoader(true), test});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("[  PASSED  ] 1 test."), std::string::npos) << run.out;
}

// The installer as a Windows user meets it: silent install into a folder of
// one's choice with its Start-menu entries, the report run from there, and
// the uninstaller taking all of it away again.
TEST(WineInstaller, InstallsRunsAndUninstallsSilently) {
    if (const std::string why = skipReason(true); !why.empty()) GTEST_SKIP() << why;
    if (!fs::exists("/usr/bin/makensis")) GTEST_SKIP() << "makensis (Debian package nsis) is not installed";
    ASSERT_TRUE(fs::exists(templatePrefix())) << "the fixture WineTemplate.Boots did not run";
    testsupport::ScratchDir dir("si32-wine-installer");
    ASSERT_FALSE(dir.path().empty());
    const fs::path config = fs::path(windowsPrograms(true)).parent_path() / "CPackConfig.cmake";
    const auto packed = testsupport::runCommand(
        {SI32_CPACK_COMMAND, "-G", "NSIS", "--config", config.string(), "-B", (dir / "package").string()},
        testsupport::environmentWithout({}));
    ASSERT_EQ(packed.status, 0) << packed.out << packed.err;
    fs::path installer;
    for (const auto& entry : fs::directory_iterator(dir / "package"))
        if (entry.path().extension() == ".exe") installer = entry.path();
    ASSERT_FALSE(installer.empty()) << packed.out;

    WinePrefix prefix(dir.path(), templatePrefix());
    const std::string loader = testsupport::wineLoader(true);
    const std::string server = (fs::path(loader).parent_path() / "wineserver").string();
    // Wine would quote a folder with a blank, and NSIS takes /D= unquoted.
    ASSERT_EQ(prefix.run({loader, installer.string(), "/S", "/D=C:\\TarvelloSi32"}).status, 0);
    const fs::path folder = prefix.path() / "drive_c/TarvelloSi32";
    EXPECT_TRUE(fs::exists(folder / "si32-report.exe"));
    EXPECT_TRUE(fs::exists(folder / "reschk.exe")) << "the report's meters program goes beside it";
    const fs::path menu = prefix.path() / "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs";
    std::vector<fs::path> entries;
    if (fs::exists(menu))
        for (const auto& entry : fs::recursive_directory_iterator(menu))
            if (entry.path().extension() == ".lnk") entries.push_back(entry.path());
    EXPECT_GE(entries.size(), 2u) << "the program's entry and the uninstaller's";

    const auto version = prefix.run({loader, "C:\\TarvelloSi32\\si32-report.exe", "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("si32-report "), std::string::npos) << version.out;

    // The uninstaller hands its work to a copy of itself and returns: the
    // prefix's server tells when everything it started has ended.
    EXPECT_EQ(prefix.run({loader, "C:\\TarvelloSi32\\Uninstall.exe", "/S"}).status, 0);
    prefix.run({server, "-w"});
    EXPECT_FALSE(fs::exists(folder)) << "the program folder is left";
    for (const fs::path& entry : entries) EXPECT_FALSE(fs::exists(entry)) << entry;
}

INSTANTIATE_TEST_SUITE_P(Versions, WineReport, ::testing::ValuesIn(kVersions),
                         [](const auto& info) { return std::string(info.param.setting); });

}  // namespace
}  // namespace si32
