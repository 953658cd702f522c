#include "platform/sim/call_names.h"

#include <algorithm>

#include "platform/run_time_error.h"

namespace si32::sim {

namespace {

// Started() is the record of starts, not a call on the machine, so it is
// not listed.
constexpr std::string_view kCalls[] = {
    // kernel
    "GetVersionExA", "GetWindowsDirectoryA", "GetSystemDirectoryA", "GetTempPathA", "GetComputerNameA", "GetSystemInfo",
    "GlobalMemoryStatus", "GlobalMemoryStatusEx", "GetPrivateProfileStringA", "GetVolumeInformationA", "GetDriveTypeA",
    "GetDiskFreeSpaceA", "GetDiskFreeSpaceExA",
    // registry
    "RegOpenKeyExA", "RegQueryValueExA", "RegCloseKey", "RegConnectRegistryA", "GetUserNameA",
    // shell
    "SHAppBarMessage",
    // ui
    "GetSystemMetrics", "SystemParametersInfoA", "CreateICA", "DeleteDC", "GetWindowDC", "GetDeviceCaps", "Screen",
    "SetMousePointer", "MsgBox", "PrevInstance", "DriveListEntries",
    // multimedia
    "waveOutGetNumDevs", "midiOutGetNumDevs", "midiOutGetDevCapsA",
    // files
    "Dir", "ChDrive", "ChDir", "CurDir", "OpenForInput", "FileDateTime", "Kill", "Shell",
    // printing, regional
    "DefaultPrinter", "GetLocaleInfoA"};

}  // namespace

std::span<const std::string_view> knownCallNames() { return kCalls; }

bool isKnownCall(std::string_view name) {
    auto calls = knownCallNames();
    return std::find(calls.begin(), calls.end(), name) != calls.end();
}

void FailingCalls::raiseIfFailing(std::string_view call) const {
    if (fails(call)) raise(ErrorKind::PlatformFailure, std::string(call) + " fails on this machine");
}

}  // namespace si32::sim
