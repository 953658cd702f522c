#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/session.h"
#include "app/startup.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/recording_frontend.h"
#include "tests/support/source_dir.h"
#include "window/layout.h"

namespace si32 {
namespace {

using testsupport::RecordingFrontend;

nlohmann::json startupMachine() {
    std::ifstream in(testsupport::sourceFile("tests/app/startup_machine.json"));
    return nlohmann::json::parse(in);
}

// One program run on a simulated machine, up to its first activation.
struct ProgramRun {
    explicit ProgramRun(const nlohmann::json& description) {
        text = description.dump();
        machine = std::make_unique<SimMachine>(SimMachine::Text{text, "startup_machine.json", "."}, frontend);
        session = std::make_unique<Session>(machine->platform());
        session->backdrop.Changed = [this] {
            backdrop.push_back({session->backdrop.Visible, session->backdrop.Left, session->backdrop.Top});
        };
        Form_Load(*session);
        if (!session->RefusedSecondInstance) Form_Activate(*session);
    }

    struct Backdrop {
        bool visible;
        int32_t left, top;
    };

    std::string text;
    RecordingFrontend frontend;
    std::unique_ptr<SimMachine> machine;
    std::unique_ptr<Session> session;
    std::vector<Backdrop> backdrop;
};

std::string describe(const Control& c) {
    std::ostringstream out;
    out << "text=[" << c.text << "] visible=" << c.visible << " percent=" << c.percent << " tooltip=[" << c.tooltip
        << "]";
    return out.str();
}

std::map<std::string, std::string> snapshot(const Si9x& form) {
    std::map<std::string, std::string> out;
    for (const auto& c : form.controls()) out[c.key()] = describe(c);
    return out;
}

TEST(Startup, SecondInstanceShowsTheWarningAndEndsWithoutItsWindow) {
    auto machine = startupMachine();
    machine["previous_instance"] = true;
    ProgramRun run(machine);

    ASSERT_EQ(run.frontend.messages.size(), 1u);
    EXPECT_EQ(run.frontend.messages[0].prompt,
              "Tarvello System Information Application Already Running! Use the Taskbar to Activate.\r\n\r\n"
              "Press Ctrl + Esc to access Taskbar, then click on Tarvello System Information, or press Alt + Esc "
              "to change window displayed.");
    EXPECT_EQ(run.frontend.messages[0].style, 48);
    EXPECT_EQ(run.frontend.messages[0].title, "");
    EXPECT_TRUE(run.session->RefusedSecondInstance);
    EXPECT_TRUE(run.session->form.Ended);
    EXPECT_TRUE(run.backdrop.empty()) << "the backdrop is never shown";
    EXPECT_TRUE(run.machine->started().empty());
    // Only the drive list shows something: the current drive, as any drive
    // list does from its creation.
    auto filled = snapshot(run.session->form);
    auto design = snapshot(Si9x());
    EXPECT_EQ(run.session->form.Drive1Drive(), "c: [SYSTEM]");
    filled.erase("Drive1");
    design.erase("Drive1");
    EXPECT_EQ(filled, design) << "no field is filled";
}

TEST(Startup, BackdropStandsWhereTheWindowWillAppearUntilActivation) {
    ProgramRun run(startupMachine());
    Si9x& form = run.session->form;
    // 15360 x 11520 twips screen; the window is centred before the backdrop moves.
    EXPECT_EQ(form.Left, (15360 - form.OuterWidth) / 2);
    EXPECT_EQ(form.Top, (11520 - form.OuterHeight) / 2);
    // Shown, then moved onto the window's rectangle.
    ASSERT_GE(run.backdrop.size(), 3u);
    EXPECT_TRUE(run.backdrop[2].visible);
    EXPECT_EQ(run.backdrop[2].left, form.Left);
    EXPECT_EQ(run.backdrop[2].top, form.Top);
    EXPECT_FALSE(run.session->backdrop.Loaded) << "gone after activation";
    EXPECT_EQ(form.Focused, "Command2");
    ASSERT_FALSE(run.frontend.pointer.empty());
    EXPECT_TRUE(run.frontend.pointer.front()) << "hourglass from the start";
    EXPECT_FALSE(run.frontend.pointer.back()) << "normal pointer after activation";

    const auto before = run.backdrop.size();
    form.Focused.clear();
    Form_Activate(*run.session);
    EXPECT_EQ(run.backdrop.size(), before) << "a later activation does not bring the backdrop back";
    EXPECT_EQ(form.Focused, "Command2");
}

TEST(Startup, EscapeEndsTheProgramFromTheWindowAndTheDriveList) {
    for (const bool inDriveList : {false, true}) {
        ProgramRun run(startupMachine());
        auto press = [&](int32_t key) {
            if (inDriveList) Drive1_KeyDown(*run.session, key);
            else Form_KeyDown(*run.session, key);
        };
        press(13);
        press(65);
        EXPECT_FALSE(run.session->form.Ended);
        press(27);
        EXPECT_TRUE(run.session->form.Ended);
    }
}

// A call that fails on every use skips only the statements that depend on it:
// the sequence completes and every other field is as it would have been.
TEST(Startup, EachFailingCallLeavesTheOtherFieldsAlone) {
    const auto baselineRun = std::make_unique<ProgramRun>(startupMachine());
    const auto baseline = snapshot(baselineRun->session->form);

    // The fields each call feeds, directly or through the facts it decides.
    const std::set<std::string> driveFrame = {"Label2(17)", "Label2(10)",        "Label3(0)", "Label2(11)",
                                              "Label2(12)", "Label2(13)",        "Label3(1)", "lblFN",
                                              "lblVolName", "lblMaxFilenameLen", "lblSerial", "lblVolFlags"};
    const std::set<std::string> meters = {"ProgressBar1", "ProgressBar2", "ProgressBar3", "Label4", "Label5", "Label9"};
    std::map<std::string, std::set<std::string>> feeds = {
        {"GetVersionExA", {"Label2(0)", "Label2(1)", "Label2(2)", "Label2(14)"}},
        {"GetWindowsDirectoryA", {"Label2(5)", "Label2(19)", "Label2(20)", "Label2(21)", "Label2(23)", "Label2(24)"}},
        {"GetSystemDirectoryA", {"Label2(6)", "Label2(18)", "Label2(30)", "Drive1"}},
        {"GetTempPathA", {"Label2(7)"}},
        // Without its own name the machine connects to no registry: the
        // processor line falls back to the identifier.
        {"GetComputerNameA", {"Label2(3)", "Label2(8)"}},
        {"GetUserNameA", {"Label2(4)"}},
        {"GetSystemInfo", {}},
        {"GlobalMemoryStatus", {}},
        {"GlobalMemoryStatusEx", {}},
        {"GetPrivateProfileStringA", {"Label2(19)", "Label2(20)", "Label2(21)", "Label2(23)", "Label2(24)"}},
        {"RegOpenKeyExA", {"Label2(8)", "Label2(26)", "Label7"}},
        {"RegQueryValueExA", {"Label2(8)", "Label2(26)", "Label7"}},
        {"RegConnectRegistryA", {"Label2(8)"}},
        {"midiOutGetNumDevs", {"Label2(29)", "MidiDevs"}},
        {"midiOutGetDevCapsA", {"MidiDevs"}},
        {"waveOutGetNumDevs", {"Label2(28)"}},
        {"SHAppBarMessage", {"Label2(25)"}},
        {"Screen", {"Label2(15)"}},
        {"GetDeviceCaps", {"Label2(16)", "Label1(15)"}},
        {"GetWindowDC", {"Label2(16)", "Label1(15)"}},
        {"DriveListEntries", {"Drive1"}},
        {"ChDrive", {"Label2(18)", "Label2(30)", "Drive1"}},
        {"ChDir", {"Label2(18)", "Label2(30)", "Drive1"}},
        {"OpenForInput", {"Label2(18)", "Label2(30)", "Drive1"}},
        {"FileDateTime", {"Label2(30)"}},
        {"DefaultPrinter", {}},
        {"GetLocaleInfoA", {}},
    };
    // Steps that decide the drive shown, and the meters, feed whole frames.
    for (const char* call :
         {"GetSystemDirectoryA", "ChDrive", "ChDir", "OpenForInput", "DriveListEntries", "GetVolumeInformationA",
          "GetDriveTypeA", "GetDiskFreeSpaceA", "GetDiskFreeSpaceExA", "GetVersionExA"})
        feeds[call].insert(driveFrame.begin(), driveFrame.end());
    for (const char* call : {"GetVersionExA", "GlobalMemoryStatus", "GlobalMemoryStatusEx", "Shell", "Kill",
                             "OpenForInput", "ChDrive", "ChDir", "GetSystemDirectoryA", "WaitForExit"})
        feeds[call].insert(meters.begin(), meters.end());
    for (const char* call : {"GlobalMemoryStatus", "GlobalMemoryStatusEx"}) {
        feeds[call].insert("Label2(27)");
        feeds[call].insert("Label3(2)");
    }
    feeds["GetSystemInfo"].insert({"Label2(9)", "Label2(8)"});
    feeds["GetVersionExA"].insert({"Label2(8)", "Label2(0)"});

    // What a field shows when the call it needs fails.
    struct Shown {
        int32_t index;
        std::string text;
    };
    const std::map<std::string, std::pair<std::string, Shown>> failedShows = {
        {"GetComputerNameA", {"Label2", {3, ""}}},
        {"GetUserNameA", {"Label2", {4, ""}}},
        {"GetTempPathA", {"Label2", {7, ""}}},
        {"SHAppBarMessage", {"Label2", {25, "Auto hide disabled\r\nAlways on top disabled"}}},
        {"waveOutGetNumDevs", {"Label2", {28, ""}}},
        {"GetPrivateProfileStringA", {"Label2", {19, "unknown"}}},
        {"FileDateTime", {"Label2", {30, "2005.20"}}},
        {"GetVersionExA", {"Label2", {1, "0.00"}}},
    };
    ASSERT_EQ(baselineRun->session->form.Label2(3).text, "FRONTDESK");
    ASSERT_EQ(baselineRun->session->form.Label2(25).text, "Always on top enabled");

    for (const std::string_view name : SimMachine::knownCalls()) {
        SCOPED_TRACE(std::string(name));
        auto description = startupMachine();
        description["failing_calls"] = {std::string(name)};
        std::unique_ptr<ProgramRun> run;
        ASSERT_NO_THROW(run = std::make_unique<ProgramRun>(description));
        EXPECT_FALSE(run->session->form.Ended);
        EXPECT_EQ(run->session->form.Focused, "Command2") << "activation still ran";
        if (const auto it = failedShows.find(std::string(name)); it != failedShows.end()) {
            const Control& c = run->session->form.control(it->second.first, it->second.second.index);
            EXPECT_EQ(c.text, it->second.second.text) << it->second.first;
        }
        const auto allowed = feeds.count(std::string(name)) ? feeds.at(std::string(name)) : std::set<std::string>{};
        for (const auto& [key, value] : snapshot(run->session->form)) {
            if (value != baseline.at(key)) {
                EXPECT_TRUE(allowed.count(key)) << key << " changed: " << baseline.at(key) << " -> " << value;
            }
        }
    }
}

}  // namespace
}  // namespace si32
