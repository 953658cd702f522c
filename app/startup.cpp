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

struct StartupStep {
    const char* name;
    void (*run)(Session&);
};

const std::array<StartupStep, 36> kSteps = {{
    {"single-instance guard", singleInstanceGuard},
    {"hourglass pointer", [](Session& s) { guarded([&] { s.platform.ui.SetMousePointer(POINTER_HOURGLASS); }); }},
    {"centre the main window", [](Session& s) { CenterForm(s.platform.ui, s.form); }},
    {"backdrop window", showBackdrop},
    {"Windows, System and Temp directories", fact<ReadDirectories>},
    {"System directory as current directory", fact<EnterSystemDirectory>},
    {"TRVWIN.INI", fact<ReadTrvwinIni>},
    {"start drive", fact<SelectStartDrive>},
    {"directories", fact<ShowDirectories>},
    {"product directory", fact<ShowProductDir>},
    {"version and memory status",
     [](Session& s) {
         QueryVersion(s.context);
         QueryMemoryStatus(s.context);
     }},
    {"version text and operating system", fact<ShowOperatingSystem>},
    {"resource and memory meters", fact<ShowMeters>},
    {"DOS version", fact<ShowDosVersion>},
    {"build number", fact<ShowBuildNumber>},
    {"Windows 98 line", fact<RecognizeWindows98>},
    {"operating-system name from the registry", fact<ShowRegistryProductName>},
    {"Windows XP", fact<RecognizeWindowsXP>},
    {"drive information", [](Session& s) { guarded([&] { Drive1_Change(s.platform, s.form); }); }},
    {"video resolution", fact<ShowVideoResolution>},
    {"number of colours", fact<ShowColors>},
    {"computer name", fact<ShowComputerName>},
    {"current user", fact<ShowCurrentUser>},
    {"physical memory", fact<ShowPhysicalMemory>},
    {"computer owner", fact<ShowOwner>},
    {"wave playing devices", fact<ShowWaveDevices>},
    {"MIDI devices", fact<ShowMidiDevices>},
    {"taskbar settings", fact<ShowTaskbarSettings>},
    {"keyboard, display adapter and mouse", fact<ShowDrivers>},
    {"system type", fact<ShowSystemType>},
    {"CD audio driver and country", fact<ShowCdAudioAndCountry>},
    {"processor facts", fact<ReadProcessorFacts>},
    {"processor type", fact<ShowProcessorType>},
    {"default printer", fact<ShowDefaultPrinter>},
    {"number of processors", fact<ShowProcessorCount>},
    {"product version", fact<ShowProductVersion>},
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

void Form_Load(Session& session) {
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
