// Every call a description can make fail: it answers its failure status, or
// raises the platform error where the real call has no failure status, and
// works when it is not listed.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "platform/run_time_error.h"
#include "tests/platform/sim/sim_test_support.h"

namespace si32::simtest {
namespace {

constexpr const char* kMachine = R"(
  "version": { "platform_id": 1, "major": 4, "minor": 10, "build": 67766222 },
  "directories": { "windows": "C:\\WINDOWS", "system": "C:\\WINDOWS\\SYSTEM", "temp": "C:\\TEMP\\" },
  "computer_name": "PC", "user_name": "alice",
  "memory": { "load": 37, "total_physical": 134217728 }, "processor": { "count": 1, "type": 586 },
  "display": { "width_twips": 15360, "height_twips": 11520, "twips_per_pixel_x": 15, "twips_per_pixel_y": 15,
               "bits_per_pixel": 16, "planes": 1, "logpixelsy": 96, "parameters": { "4098": 1 } },
  "taskbar_state": 3, "wave_devices": 1, "midi_devices": [ "Synth" ], "printing_default": "Laser",
  "files": { "C:\\WINDOWS\\a.txt": { "text": "x" } },
  "programs": { "C:\\WINDOWS\\run.exe": {} },
  "current_directory": "C:\\WINDOWS",
  "registry": "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Si32]\n\"v\"=\"1\"\n",
  "drives": [ { "letter": "C", "type": 3 } ])";

// Makes the call; true when it answered success. Raising calls return true
// when they return at all.
using Call = std::function<bool(Platform&)>;

struct Expectation {
    bool raises;
    Call call;
};

bool ok(int32_t status) { return status != 0; }

std::map<std::string, Expectation> expectations() {
    static std::array<char, 64> text;
    static uint32_t u32;
    static uint64_t u64;
    static HKEY key;
    return {
        {"GetVersionExA",
         {false,
          [](Platform& p) {
              OsVersionInfoA v;
              return ok(p.kernel.GetVersionExA(v));
          }}},
        {"GetWindowsDirectoryA", {false, [](Platform& p) { return p.kernel.GetWindowsDirectoryA(text) != 0; }}},
        {"GetSystemDirectoryA", {false, [](Platform& p) { return p.kernel.GetSystemDirectoryA(text) != 0; }}},
        {"GetTempPathA", {false, [](Platform& p) { return p.kernel.GetTempPathA(text) != 0; }}},
        {"GetComputerNameA",
         {false,
          [](Platform& p) {
              u32 = 64;
              return ok(p.kernel.GetComputerNameA(text, u32));
          }}},
        {"GetSystemInfo",
         {true,
          [](Platform& p) {
              SystemInfo s;
              p.kernel.GetSystemInfo(s);
              return true;
          }}},
        {"GlobalMemoryStatus",
         {true,
          [](Platform& p) {
              MemoryStatus s;
              p.kernel.GlobalMemoryStatus(s);
              return true;
          }}},
        {"GlobalMemoryStatusEx",
         {false,
          [](Platform& p) {
              MemoryStatusEx s;
              return ok(p.kernel.GlobalMemoryStatusEx(s));
          }}},
        // The INI engine answers the default's length for a missing key.
        {"GetPrivateProfileStringA",
         {false, [](Platform& p) { return p.kernel.GetPrivateProfileStringA("s", "k", "dflt", text, "a.ini") != 0; }}},
        {"GetVolumeInformationA",
         {false, [](Platform& p) { return ok(p.kernel.GetVolumeInformationA("C:\\", text, u32, u32, u32, text)); }}},
        {"GetDriveTypeA", {false, [](Platform& p) { return p.kernel.GetDriveTypeA("C:\\") != DRIVE_UNKNOWN; }}},
        {"GetDiskFreeSpaceA",
         {false, [](Platform& p) { return ok(p.kernel.GetDiskFreeSpaceA("C:\\", u32, u32, u32, u32)); }}},
        {"GetDiskFreeSpaceExA",
         {false, [](Platform& p) { return ok(p.kernel.GetDiskFreeSpaceExA("C:\\", u64, u64, u64)); }}},
        {"RegOpenKeyExA",
         {false,
          [](Platform& p) {
              return p.registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Si32", 0, KEY_READ, key) == ERROR_SUCCESS;
          }}},
        {"RegQueryValueExA",
         {false,
          [](Platform& p) {
              u32 = 64;
              uint32_t type = 0;
              p.registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Si32", 0, KEY_READ, key);
              return p.registry.RegQueryValueExA(key, "v", type, text, u32) == ERROR_SUCCESS;
          }}},
        {"RegCloseKey",
         {false,
          [](Platform& p) {
              p.registry.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Si32", 0, KEY_READ, key);
              return p.registry.RegCloseKey(key) == ERROR_SUCCESS;
          }}},
        {"RegConnectRegistryA",
         {false,
          [](Platform& p) { return p.registry.RegConnectRegistryA("", HKEY_LOCAL_MACHINE, key) == ERROR_SUCCESS; }}},
        {"GetUserNameA",
         {false,
          [](Platform& p) {
              u32 = 64;
              return ok(p.registry.GetUserNameA(text, u32));
          }}},
        {"SHAppBarMessage",
         {true,
          [](Platform& p) {
              AppBarData d;
              p.shell.SHAppBarMessage(ABM_GETSTATE, d);
              return true;
          }}},
        {"GetSystemMetrics",
         {true,
          [](Platform& p) {
              p.ui.GetSystemMetrics(0);
              return true;
          }}},
        {"SystemParametersInfoA",
         {false,
          [](Platform& p) {
              return ok(p.ui.SystemParametersInfoA(0x1002, 0, std::as_writable_bytes(std::span(text)), 0));
          }}},
        {"CreateICA", {false, [](Platform& p) { return p.ui.CreateICA("DISPLAY", "", "") != 0; }}},
        {"DeleteDC", {false, [](Platform& p) { return ok(p.ui.DeleteDC(p.ui.CreateICA("DISPLAY", "", ""))); }}},
        {"GetWindowDC", {false, [](Platform& p) { return p.ui.GetWindowDC() != 0; }}},
        {"GetDeviceCaps",
         {true,
          [](Platform& p) {
              p.ui.GetDeviceCaps(p.ui.GetWindowDC(), BITSPIXEL);
              return true;
          }}},
        {"Screen",
         {true,
          [](Platform& p) {
              p.ui.Screen();
              return true;
          }}},
        {"SetMousePointer",
         {true,
          [](Platform& p) {
              p.ui.SetMousePointer(POINTER_HOURGLASS);
              return true;
          }}},
        {"MsgBox",
         {true,
          [](Platform& p) {
              p.ui.MsgBox("m", MB_OK, "");
              return true;
          }}},
        {"PrevInstance",
         {true,
          [](Platform& p) {
              p.ui.PrevInstance();
              return true;
          }}},
        {"DriveListEntries",
         {true,
          [](Platform& p) {
              p.ui.DriveListEntries();
              return true;
          }}},
        {"waveOutGetNumDevs",
         {true,
          [](Platform& p) {
              p.multimedia.waveOutGetNumDevs();
              return true;
          }}},
        {"midiOutGetNumDevs",
         {true,
          [](Platform& p) {
              p.multimedia.midiOutGetNumDevs();
              return true;
          }}},
        {"midiOutGetDevCapsA",
         {false,
          [](Platform& p) {
              MidiOutCapsA c;
              return p.multimedia.midiOutGetDevCapsA(0, c, 128) == MMSYSERR_NOERROR;
          }}},
        {"Dir",
         {true,
          [](Platform& p) {
              p.files.Dir("C:\\WINDOWS\\a.txt");
              return true;
          }}},
        {"ChDrive",
         {true,
          [](Platform& p) {
              p.files.ChDrive("C");
              return true;
          }}},
        {"ChDir",
         {true,
          [](Platform& p) {
              p.files.ChDir("C:\\");
              return true;
          }}},
        {"CurDir",
         {true,
          [](Platform& p) {
              p.files.CurDir();
              return true;
          }}},
        {"OpenForInput",
         {true,
          [](Platform& p) {
              p.files.OpenForInput("a.txt");
              return true;
          }}},
        {"FileDateTime",
         {true,
          [](Platform& p) {
              p.files.FileDateTime("a.txt");
              return true;
          }}},
        {"Kill",
         {true,
          [](Platform& p) {
              p.files.Kill("a.txt");
              return true;
          }}},
        {"Shell",
         {true,
          [](Platform& p) {
              p.files.Shell({"run.exe"}, vbNormalFocus);
              return true;
          }}},
        {"DefaultPrinter",
         {true,
          [](Platform& p) {
              p.printing.DefaultPrinter();
              return true;
          }}},
        {"GetLocaleInfoA", {false, [](Platform& p) { return p.regional.GetLocaleInfoA(LOCALE_SDECIMAL, text) != 0; }}},
    };
}

TEST(FailingCalls, EveryKnownCallHasAnExpectation) {
    std::map<std::string, Expectation> table = expectations();
    EXPECT_EQ(table.size(), SimMachine::knownCalls().size());
    for (std::string_view name : SimMachine::knownCalls()) EXPECT_EQ(1u, table.count(std::string(name))) << name;
}

TEST(FailingCalls, EachListedCallFailsAsItsKindAndOnlyThen) {
    for (const auto& [name, expectation] : expectations()) {
        SCOPED_TRACE(name);
        TestMachine working(std::string("{") + kMachine + "}");
        EXPECT_TRUE(expectation.call(working.platform()));
        TestMachine failing(std::string("{") + kMachine + ", \"failing_calls\": [\"" + name + "\"]}");
        if (expectation.raises) {
            try {
                expectation.call(failing.platform());
                ADD_FAILURE() << "did not raise";
            } catch (const RunTimeError& error) {
                EXPECT_EQ(ErrorKind::PlatformFailure, error.kind());
            }
        } else {
            EXPECT_FALSE(expectation.call(failing.platform()));
        }
    }
}

}  // namespace
}  // namespace si32::simtest
