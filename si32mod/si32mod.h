#pragma once
// The module si32mod: the query routines and the module-level state they
// share. The application owns one Si32Mod; a test makes a fresh one.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace si32 {

class Si9x;

struct SystemDescriptorRecord {
    std::string ProductName, Version, BuildNumber, CSDVersion, ProductID, RegisteredOwner, RegisteredOrganization,
        Identifier, SystemBiosDate, SystemBiosVersion, VideoBiosDate, VideoBiosVersion;
};

struct ProcessorDescriptorRecord {
    std::string ProcessorNameString, VendorIdentifier, Identifier, Mhz;
};

// The family the start-up sorts the system into; the numbers are the ones
// the JSON report prints.
enum class OperatingSystemFamily : int32_t {
    Win32s = 0,       // and any system not recognised
    WindowsLine = 1,  // Windows 95
    NtLine = 2,       // NT other than version 5
    Nt5 = 3,          // NT 5, and Windows 98 and ME once recognised
};

class Si32Mod {
public:
    explicit Si32Mod(Platform& platform) : platform_(platform) {}

    OperatingSystemFamily OsFamily = OperatingSystemFamily::Win32s;
    HKEY RegistryRoot = 0;
    SystemDescriptorRecord SystemDescriptor;
    ProcessorDescriptorRecord ProcessorDescriptor;

    // Registry value access.
    std::string GetRegString(HKEY root, std::string_view subKey, std::string_view valueName);
    std::string ReadRegValue(std::string_view subKey, std::string_view valueName);
    bool QueryRegValue(HKEY root, std::string_view subKey, std::string_view valueName, std::string& value);
    int32_t ConnectRegistry(std::string_view machineName);

    // Registry-backed system facts.
    std::string GetRegisteredOwner();
    std::string GetWindowsProductName();
    std::string GetCpuIdentifier();
    std::string GetDefaultPrinter();
    void ReadSystemDescriptor();

    // Multimedia, display-depth, INI and computer-name queries.
    int16_t ListMidiDevices(Si9x& form);
    std::string GetIniString(std::string_view section, std::string_view key, std::string_view fileName);
    double GetColorCount(HDC dc);
    std::string GetMachineName();

    // The System Information tool launcher: the button's click handler and
    // the registry fallback it calls.
    void Command2_Click();
    void LaunchMsInfo();

    Platform& platform() { return platform_; }

private:
    Platform& platform_;
};

}  // namespace si32
