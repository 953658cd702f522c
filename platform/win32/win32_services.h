#pragma once
// The Windows service families. Each keeps only what the Windows calls need
// kept between calls: handles behind the 32-bit numbers the interfaces pass,
// and the drives' deadline.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/engine/deadline_runner.h"
#include "platform/platform.h"

// After the platform's headers: their constants share the names of the
// macros windows.h defines (DRIVE_FIXED, REG_SZ, MB_OK). In the Windows files
// the macros stand for them, with the same values.
#include <windows.h>

namespace si32 {

// The text of a Windows error code, one line.
std::string win32ErrorText(DWORD error);

// A call that an older Windows lacks (the Windows 95 line, NT 4.0), looked up
// where it is needed so that the program still loads there; nullptr when
// absent.
template <class Function>
Function optionalCall(const char* module, const char* name) {
    HMODULE handle = GetModuleHandleA(module);
    if (handle == nullptr) handle = LoadLibraryA(module);
    if (handle == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

class Win32Kernel final : public Kernel {
public:
    Win32Kernel();

    int32_t GetVersionExA(OsVersionInfoA& info) override;
    uint32_t GetWindowsDirectoryA(std::span<char> buffer) override;
    uint32_t GetSystemDirectoryA(std::span<char> buffer) override;
    uint32_t GetTempPathA(std::span<char> buffer) override;
    int32_t GetComputerNameA(std::span<char> buffer, uint32_t& size) override;
    void GetSystemInfo(SystemInfo& info) override;
    void GlobalMemoryStatus(MemoryStatus& status) override;
    int32_t GlobalMemoryStatusEx(MemoryStatusEx& status) override;
    uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view defaultValue,
                                      std::span<char> buffer, std::string_view fileName) override;
    int32_t GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                  uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                  std::span<char> fileSystemName) override;
    uint32_t GetDriveTypeA(std::string_view rootPath) override;
    int32_t GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                              uint32_t& freeClusters, uint32_t& totalClusters) override;
    int32_t GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                uint64_t& totalFreeBytes) override;
    uint32_t GetACP() override;

    // The label of a drive's volume within the drives' deadline; "" when
    // none can be read in time.
    std::string VolumeLabel(char letter);

private:
    // An empty floppy or CD drive answers at once; a dead network server
    // can hold a volume call for minutes.
    DeadlineRunner volumes_;
};

class Win32Registry final : public Registry {
public:
    ~Win32Registry() override;

    int32_t RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired,
                          HKEY& result) override;
    int32_t RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t& type, std::span<char> data,
                             uint32_t& dataSize) override;
    int32_t RegCloseKey(HKEY key) override;
    int32_t RegConnectRegistryA(std::string_view machineName, HKEY key, HKEY& result) override;
    int32_t GetUserNameA(std::span<char> buffer, uint32_t& size) override;

private:
    ::HKEY real(HKEY key) const;
    HKEY remember(::HKEY key);

    std::map<HKEY, ::HKEY> open_;
    HKEY next_ = 1;
};

class Win32Files final : public Files {
public:
    ~Win32Files() override;

    std::string Dir(std::string_view path) override;
    void ChDrive(std::string_view drive) override;
    void ChDir(std::string_view path) override;
    std::string CurDir() override;
    std::unique_ptr<SequentialFile> OpenForInput(std::string_view path) override;
    DateTime FileDateTime(std::string_view path) override;
    void Kill(std::string_view path) override;
    uint32_t Shell(const std::vector<std::string>& argv, int32_t windowStyle) override;
    bool WaitForExit(uint32_t processId, uint32_t milliseconds) override;
    std::optional<bool> WouldStart(const std::vector<std::string>& argv) override;
    std::vector<std::string> Started() const override;

private:
    std::map<uint32_t, HANDLE> processes_;
    std::vector<std::string> started_;
};

class Win32Ui final : public Ui {
public:
    Win32Ui(Frontend& frontend, Program program, Win32Kernel& kernel);
    ~Win32Ui() override;

    int32_t GetSystemMetrics(int32_t index) override;
    int32_t SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) override;
    HDC CreateICA(std::string_view driver, std::string_view device, std::string_view output) override;
    int32_t DeleteDC(HDC dc) override;
    HDC GetWindowDC() override;
    int32_t GetDeviceCaps(HDC dc, int32_t index) override;
    ScreenTwips Screen() override;
    void SetMousePointer(int32_t pointer) override;
    int32_t MsgBox(std::string_view prompt, int32_t style, std::string_view title) override;
    bool PrevInstance() override;
    std::vector<DriveListEntry> DriveListEntries() override;

private:
    Frontend& frontend_;
    Program program_;
    Win32Kernel& kernel_;
    std::map<HDC, ::HDC> contexts_;
    HDC next_ = 0x2000;
    ::HDC screen_ = nullptr;
    HANDLE instance_ = nullptr;
    bool instanceAsked_ = false;
    bool previous_ = false;
};

class Win32Shell final : public Shell {
public:
    uint32_t SHAppBarMessage(uint32_t message, AppBarData& data) override;
};

class Win32Multimedia final : public Multimedia {
public:
    uint32_t waveOutGetNumDevs() override;
    uint32_t midiOutGetNumDevs() override;
    uint32_t midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) override;
};

class Win32Printing final : public Printing {
public:
    std::string DefaultPrinter() override;
};

class Win32Regional final : public Regional {
public:
    int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) override;
};

}  // namespace si32
