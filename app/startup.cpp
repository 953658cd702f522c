#include "app/startup.h"

#include <array>
#include <string>

#include "app/session.h"
#include "drives/drive_info.h"
#include "facts/environment.h"
#include "facts/hardware.h"
#include "facts/memory.h"
#include "facts/operating_system.h"
#include "platform/guarded.h"
#include "platform/text_helpers.h"
#include "window/taskbar.h"

namespace si32 {

const char* const kAlreadyRunningMessage =
    "Tarvello System Information Application Already Running! Use the Taskbar to Activate."
    "\r\n\r\n"
    "Press Ctrl + Esc to access Taskbar, then click on Tarvello System Information,"
    " or press Alt + Esc to change window displayed.";

namespace {

void singleInstanceGuard(Session& s) {
    bool running = false;
    guarded([&] { running = s.platform.ui.PrevInstance(); });
    if (!running) return;
    s.RefusedSecondInstance = true;
    guarded([&] { s.platform.ui.MsgBox(kAlreadyRunningMessage, MB_ICONEXCLAMATION, ""); });
    s.form.End();
}

void showBackdrop(Session& s) {
    guarded([&] { s.backdrop.Show(s.platform.ui); });
    guarded([&] { s.backdrop.Move(s.form.Left, s.form.Top); });
    guarded([&] { s.backdrop.Refresh(); });
}

// Adapts a fact step that works on the step context.
template <void (*Step)(StepContext&)>
void fact(Session& s) {
    Step(s.context);
}

const std::array<StartupStep, 36> kSteps = {{
    {1, "single-instance guard", singleInstanceGuard},
    {2, "hourglass pointer", [](Session& s) { guarded([&] { s.platform.ui.SetMousePointer(POINTER_HOURGLASS); }); }},
    {3, "centre the main window", [](Session& s) { CenterForm(s.platform.ui, s.form); }},
    {4, "backdrop window", showBackdrop},
    {5, "Windows, System and Temp directories", fact<ReadDirectories>},
    {6, "System directory as current directory", fact<EnterSystemDirectory>},
    {7, "TRVWIN.INI", fact<ReadTrvwinIni>},
    {8, "start drive", fact<SelectStartDrive>},
    {9, "directories", fact<ShowDirectories>},
    {10, "product directory", fact<ShowProductDir>},
    {11, "version and memory status",
     [](Session& s) {
         QueryVersion(s.context);
         QueryMemoryStatus(s.context);
     }},
    {12, "version text and operating system", fact<ShowOperatingSystem>},
    {13, "resource and memory meters", fact<ShowMeters>},
    {14, "DOS version", fact<ShowDosVersion>},
    {15, "build number", fact<ShowBuildNumber>},
    {16, "Windows 98 line", fact<RecognizeWindows98>},
    {17, "operating-system name from the registry", fact<ShowRegistryProductName>},
    {18, "Windows XP", fact<RecognizeWindowsXP>},
    {19, "drive information", [](Session& s) { guarded([&] { Drive1_Change(s.platform, s.form); }); }},
    {20, "video resolution", fact<ShowVideoResolution>},
    {21, "number of colours", fact<ShowColors>},
    {22, "computer name", fact<ShowComputerName>},
    {23, "current user", fact<ShowCurrentUser>},
    {24, "physical memory", fact<ShowPhysicalMemory>},
    {25, "computer owner", fact<ShowOwner>},
    {26, "wave playing devices", fact<ShowWaveDevices>},
    {27, "MIDI devices", fact<ShowMidiDevices>},
    {28, "taskbar settings", fact<ShowTaskbarSettings>},
    {29, "keyboard, display adapter and mouse", fact<ShowDrivers>},
    {30, "system type", fact<ShowSystemType>},
    {31, "CD audio driver and country", fact<ShowCdAudioAndCountry>},
    {32, "processor facts", fact<ReadProcessorFacts>},
    {33, "processor type", fact<ShowProcessorType>},
    {34, "default printer", fact<ShowDefaultPrinter>},
    {35, "number of processors", fact<ShowProcessorCount>},
    {36, "product version", fact<ShowProductVersion>},
}};

void initialDriveList(Session& s) {
    auto& form = s.form;
    guarded([&] { form.Drive1Entries = s.platform.ui.DriveListEntries(); });
    if (form.Drive1Entries.empty()) return;
    form.ShowDrive1(form.Drive1Entries.front());
    guarded([&] {
        const std::string current = s.platform.files.CurDir();
        if (current.empty()) return;
        const char letter = upperAscii(current.front());
        for (const auto& entry : form.Drive1Entries)
            if (entry.letter == letter) form.ShowDrive1(entry);
    });
}

}  // namespace

std::span<const StartupStep> StartupSteps() { return kSteps; }

void Form_Load(Session& session) {
    // The drive list is a control: its entries exist before any handler runs.
    // The drive list is a control: it exists, showing the current drive,
    // before the load handler runs, and raises no change for that.
    initialDriveList(session);
    for (const auto& step : kSteps) {
        step.run(session);
        if (session.form.Ended) return;
    }
}

void Form_Activate(Session& session) {
    guarded([&] { session.form.SetFocus("Command2"); });
    guarded([&] { session.backdrop.Unload(); });
    guarded([&] { session.platform.ui.SetMousePointer(POINTER_DEFAULT); });
    session.Activated = true;
}

void Form_KeyDown(Session& session, int32_t keyCode) {
    if (keyCode == vbKeyEscape) session.form.End();
}

void Drive1_KeyDown(Session& session, int32_t keyCode) {
    if (keyCode == vbKeyEscape) session.form.End();
}

}  // namespace si32
