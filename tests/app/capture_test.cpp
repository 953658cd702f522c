// A capture replays exactly: the description written while the program ran
// on a machine makes the simulated machine show the same window, for every
// drive of the drive list and for the System Information button.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/capture.h"
#include "app/report.h"
#include "app/report_frontend.h"
#include "app/session.h"
#include "app/startup.h"
#include "platform/capture/desktop_facts.h"
#include "platform/guarded.h"
#include "platform/host/host_backend.h"
#include "platform/sim/sim_machine.h"
#include "screeninfo/screen_info_members.h"
#include "tests/platform/volumes/fixture_tree.h"
#include "tests/support/recording_frontend.h"
#include "tests/support/report_differences.h"
#include "tests/support/source_dir.h"

namespace si32 {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

using testsupport::binaryDir;
using testsupport::sourceDir;

// One machine to capture: a host over a fixture tree, the live host, or a
// simulated machine (whose capture must replay like any other).
struct Machine {
    std::string name;
    std::function<std::unique_ptr<Backend>(Frontend&)> make;
    bool realScreen = false;  // the display the report would read, when one is reachable
};

// Message boxes answered and kept; the screen is none, or the real one.
class CaptureFrontend : public testsupport::RecordingFrontend {
public:
    explicit CaptureFrontend(bool realScreen) : realScreen_(realScreen) {}
    std::optional<ScreenFacts> Screen() override { return realScreen_ ? x11_.Screen() : std::nullopt; }

private:
    bool realScreen_;
    ReportFrontend x11_;
};

std::unique_ptr<Backend> hostOver(const std::string& root, Frontend& frontend) {
    HostContext context;
    context.root = root;
    context.executableDir = binaryDir() + "/bin";
    context.prefix = context.executableDir + "/../share/si32/prefix";
    context.environment = processEnvironment();
    return makeHostBackend(frontend, Program::Report, context);
}

// A machine whose disks fill while they are looked at: every space call
// finds a megabyte less free than the last, as a busy machine's may. The
// capture has to keep the space the window showed, whichever call that was.
class FillingDisks : public Kernel {
public:
    explicit FillingDisks(Kernel& inner) : inner_(inner) {}
    int32_t GetVersionExA(OsVersionInfoA& info) override { return inner_.GetVersionExA(info); }
    uint32_t GetWindowsDirectoryA(std::span<char> b) override { return inner_.GetWindowsDirectoryA(b); }
    uint32_t GetSystemDirectoryA(std::span<char> b) override { return inner_.GetSystemDirectoryA(b); }
    uint32_t GetTempPathA(std::span<char> b) override { return inner_.GetTempPathA(b); }
    int32_t GetComputerNameA(std::span<char> b, uint32_t& size) override { return inner_.GetComputerNameA(b, size); }
    void GetSystemInfo(SystemInfo& info) override { inner_.GetSystemInfo(info); }
    void GlobalMemoryStatus(MemoryStatus& status) override { inner_.GlobalMemoryStatus(status); }
    int32_t GlobalMemoryStatusEx(MemoryStatusEx& status) override { return inner_.GlobalMemoryStatusEx(status); }
    uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view fallback,
                                      std::span<char> b, std::string_view file) override {
        return inner_.GetPrivateProfileStringA(section, key, fallback, b, file);
    }
    int32_t GetVolumeInformationA(std::string_view root, std::span<char> name, uint32_t& serial, uint32_t& length,
                                  uint32_t& flags, std::span<char> system) override {
        return inner_.GetVolumeInformationA(root, name, serial, length, flags, system);
    }
    uint32_t GetDriveTypeA(std::string_view root) override { return inner_.GetDriveTypeA(root); }
    int32_t GetDiskFreeSpaceA(std::string_view root, uint32_t& sectors, uint32_t& bytes, uint32_t& freeClusters,
                              uint32_t& totalClusters) override {
        const int32_t ok = inner_.GetDiskFreeSpaceA(root, sectors, bytes, freeClusters, totalClusters);
        const uint64_t cluster = uint64_t{sectors} * bytes;
        if (ok != 0 && cluster != 0) freeClusters -= std::min<uint64_t>(freeClusters, (++filled_ << 20) / cluster);
        return ok;
    }
    int32_t GetDiskFreeSpaceExA(std::string_view root, uint64_t& toCaller, uint64_t& total,
                                uint64_t& totalFree) override {
        const int32_t ok = inner_.GetDiskFreeSpaceExA(root, toCaller, total, totalFree);
        const uint64_t less = ++filled_ << 20;
        toCaller -= std::min(toCaller, less);
        totalFree -= std::min(totalFree, less);
        return ok;
    }
    uint32_t GetACP() override { return inner_.GetACP(); }

private:
    Kernel& inner_;
    uint64_t filled_ = 0;
};

class FillingMachine : public Backend {
public:
    FillingMachine(const std::string& description, Frontend& frontend) : machine_(description, frontend) {}
    Platform& platform() override { return platform_; }

private:
    SimMachine machine_;
    FillingDisks kernel_{machine_.platform().kernel};
    Platform& inner_ = machine_.platform();
    Platform platform_{kernel_,           inner_.registry, inner_.shell,    inner_.ui,
                       inner_.multimedia, inner_.files,    inner_.printing, inner_.regional};
};

std::vector<Machine> machines() {
    std::vector<Machine> out;
    // Every tree the host tests read: the small ones, and the whole machines
    // (a container, a chroot, a Raspberry Pi, a laptop, a server).
    const fs::path fixtures = sourceDir() + "/tests/platform/host/fixtures";
    std::vector<fs::path> trees;
    for (const auto& tree : fs::directory_iterator(fixtures))
        if (tree.path().filename() != "machines") trees.push_back(tree.path());
    for (const auto& tree : fs::directory_iterator(fixtures / "machines")) trees.push_back(tree.path());
    std::sort(trees.begin(), trees.end());
    for (const fs::path& tree : trees) {
        const std::string root = tree.string();
        out.push_back({"host fixture " + fs::relative(tree, fixtures).string(),
                       [root](Frontend& f) { return hostOver(root, f); }});
    }
    // The mount tables the volume tests read, each the only fact of its root:
    // many letters, labels from udev, volumes that cannot be measured.
    for (const char* table : {"desktop", "container", "fifty"}) {
        auto tree = std::make_shared<volumestest::FixtureTree>();
        tree->mountTable(std::string(table) + ".mountinfo");
        out.push_back({std::string("mount table ") + table, [tree](Frontend& f) { return hostOver(tree->root(), f); }});
    }
    out.push_back({"live host", [](Frontend& f) { return hostOver("/", f); }});
    out.push_back({"live host with its screen", [](Frontend& f) { return hostOver("/", f); }, true});
    // Settings that are counts and times, not flags: each of their four
    // bytes has to come back in its place.
    out.push_back(
        {"simulated desktop with counted settings", [](Frontend& f) {
             Json description = Json::parse(std::ifstream(sourceDir() + "/tests/app/startup_machine.json"));
             description["display"]["parameters"] = {
                 {"0x2000", 200000}, {"0x2004", 7}, {"5", 3}, {"0x12", 65537}, {"0x1B", 1}};
             return std::make_unique<SimMachine>(SimMachine::Text{description.dump(), "counted-settings.json", "."}, f);
         }});
    // Both start on their second drive, which start-up asks twice.
    for (const char* name : {"win2000", "win95-osr2"}) {
        const std::string path = sourceDir() + "/machines/" + name + ".json";
        out.push_back({std::string("simulated ") + name + " with filling disks",
                       [path](Frontend& f) { return std::make_unique<FillingMachine>(path, f); }});
    }
    for (const auto& file : fs::directory_iterator(sourceDir() + "/machines")) {
        if (file.path().extension() != ".json") continue;
        const std::string path = file.path().string();
        out.push_back({"simulated " + file.path().stem().string(),
                       [path](Frontend& f) { return std::make_unique<SimMachine>(path, f); }});
    }
    return out;
}

Json reportOf(const Session& session, const std::vector<std::string>& started,
              const testsupport::RecordingFrontend& frontend) {
    ReportExtras extras;
    extras.started = started;
    for (const auto& message : frontend.messages) extras.messages.push_back(message.prompt);
    return ReportJson(session, extras);
}

// What a report with --drive X and then --click shows on the replayed machine.
struct Replay {
    Json afterDrive;
    Json afterClick;
};

Replay replay(const std::string& description, const std::string& letter) {
    testsupport::RecordingFrontend frontend;
    SimMachine machine(SimMachine::Text{description, "captured.json", "."}, frontend);
    Session session(machine.platform());
    Replay out;
    Form_Load(session);
    if (!session.RefusedSecondInstance) {
        Form_Activate(session);
        guarded([&] { session.form.SetDrive1(letter); });
    }
    out.afterDrive = reportOf(session, machine.platform().files.Started(), frontend);
    if (!session.RefusedSecondInstance) session.mod.Command2_Click();
    out.afterClick = reportOf(session, machine.platform().files.Started(), frontend);
    return out;
}

std::vector<std::string> driveLetters(const Machine& machine) {
    CaptureFrontend frontend(machine.realScreen);
    std::unique_ptr<Backend> backend = machine.make(frontend);
    std::vector<std::string> letters;
    for (const DriveListEntry& entry : backend->platform().ui.DriveListEntries()) letters.emplace_back(1, entry.letter);
    return letters;
}

TEST(Capture, ReplaysEveryDriveAndTheButtonAsCaptured) {
    for (const Machine& machine : machines()) {
        const std::vector<std::string> letters = driveLetters(machine);
        ASSERT_FALSE(letters.empty()) << machine.name;
        for (const std::string& letter : letters) {
            SCOPED_TRACE(machine.name + ", drive " + letter);
            CaptureFrontend frontend(machine.realScreen);
            std::unique_ptr<Backend> backend = machine.make(frontend);
            Json shown, clicked;
            CaptureSteps steps;
            steps.firstDrive = letter;
            steps.afterFirstDrive = [&](const Session& s) {
                shown = reportOf(s, backend->platform().files.Started(), frontend);
            };
            steps.afterClick = [&](const Session& s, const std::vector<std::string>& started) {
                clicked = reportOf(s, started, frontend);
            };
            const std::string description = capture::DescriptionText(CaptureMachine(*backend, {}, steps));
            Replay replayed;
            try {
                replayed = replay(description, letter);
            } catch (const MachineDescriptionError& e) {
                FAIL() << e.what() << "\n" << description;
            }
            EXPECT_EQ(testsupport::reportDifferences(replayed.afterDrive, shown), "") << description;
            if (!clicked.is_null()) {
                EXPECT_EQ(replayed.afterClick["started"], clicked["started"]);
                EXPECT_EQ(replayed.afterClick["messages"], clicked["messages"]);
            }
        }
    }
}

// Every desktop setting a getter may read, as the machine answers it: the
// answer's bytes in hex, or "fails".
std::map<uint32_t, std::string> desktopSettings(Ui& ui) {
    std::map<uint32_t, std::string> answers;
    for (const screen_info::MemberEntry& entry : screen_info::kMembers) {
        if (entry.getAction == screen_info::kNoAction) continue;
        const auto bytes = capture::AskParameter(ui, entry.getAction);
        std::string text = bytes ? "" : "fails";
        for (std::byte b : bytes.value_or(std::vector<std::byte>{})) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", std::to_integer<unsigned>(b));
            text += hex;
        }
        answers.emplace(entry.getAction, text);
    }
    return answers;
}

TEST(Capture, ReplaysEveryDesktopSettingAsAnswered) {
    for (const Machine& machine : machines()) {
        // Window managers that other tests start change the live work area.
        if (machine.realScreen) continue;
        SCOPED_TRACE(machine.name);
        CaptureFrontend frontend(machine.realScreen);
        std::unique_ptr<Backend> backend = machine.make(frontend);
        const std::string description = capture::DescriptionText(CaptureMachine(*backend, {}));
        const std::map<uint32_t, std::string> answered = desktopSettings(backend->platform().ui);
        testsupport::RecordingFrontend replayFrontend;
        SimMachine replayed(SimMachine::Text{description, "captured.json", "."}, replayFrontend);
        EXPECT_EQ(desktopSettings(replayed.platform().ui), answered) << description;
    }
}

// The values that change by themselves on an idle machine.
void forgetChangingValues(Json& description) {
    if (description.contains("memory")) description["memory"].erase("load");
    for (Json& drive : description["drives"])
        for (const char* key : {"free_clusters", "free_bytes_to_caller", "total_free_bytes"}) drive.erase(key);
}

TEST(Capture, TwoCapturesOfOneMachineDifferOnlyInWhatChangesByItself) {
    for (const Machine& machine : machines()) {
        // The display is shared with tests that start window managers and
        // change the work area while this one runs.
        if (machine.realScreen) continue;
        SCOPED_TRACE(machine.name);
        auto once = [&] {
            CaptureFrontend frontend(machine.realScreen);
            std::unique_ptr<Backend> backend = machine.make(frontend);
            Json description = CaptureMachine(*backend, {});
            forgetChangingValues(description);
            return capture::DescriptionText(description);
        };
        auto lines = [](const std::string& text) {
            std::vector<std::string> out;
            std::istringstream in(text);
            for (std::string line; std::getline(in, line);) out.push_back(line);
            return out;
        };
        const std::vector<std::string> first = lines(once()), second = lines(once());
        std::string changed;
        for (size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
            const std::string a = i < first.size() ? first[i] : "", b = i < second.size() ? second[i] : "";
            if (a != b) changed += std::to_string(i + 1) + ": " + a + " | " + b + "\n";
        }
        EXPECT_EQ(changed, "");
    }
}

}  // namespace
}  // namespace si32
