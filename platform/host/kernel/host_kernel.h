#pragma once
// The kernel32 families on the host: version, directories, names,
// processors and memory, files and processes, regional settings.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/host/common/host_context.h"
#include "platform/host/kernel/host_locale.h"
#include "platform/host/machine/machine_facts.h"
#include "platform/host/volumes/drive_map.h"
#include "platform/host/volumes/volumes.h"
#include "platform/platform.h"

namespace si32 {

class HostKernel final : public Kernel {
public:
    HostKernel(const HostContext& context, const MachineFacts& machine, const DriveMap& drives, HostVolumes& volumes);

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

private:
    const HostContext& context_;
    const MachineFacts& machine_;
    const DriveMap& drives_;
    HostVolumes& volumes_;
};

class HostFiles final : public Files {
public:
    HostFiles(const HostContext& context, const DriveMap& drives);

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

    // The full Windows path ("C:\DIR\FILE") of a path as the program writes
    // it, taken from the current drive and directory; "." and ".." resolved.
    std::string FullWindowsPath(std::string_view path) const;
    // Its host path; raises FileNotFound for a letter that maps nowhere.
    std::string HostPathOf(std::string_view path) const;

private:
    // The host program Shell would start for argv[0]; raises FileNotFound.
    std::string programFor(const std::vector<std::string>& argv);

    const HostContext& context_;
    const DriveMap& drives_;
    char currentDrive_ = 'C';
    // Per drive letter: the current directory below its root, "" for the root.
    std::map<char, std::string> currentDirs_;
    std::vector<std::string> started_;
};

class HostRegional final : public Regional {
public:
    explicit HostRegional(const HostContext& context);

    int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) override;

private:
    HostLocale locale_;
};

}  // namespace si32
