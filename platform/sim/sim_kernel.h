#pragma once
// Kernel services of the simulated machine.
#include "platform/kernel.h"
#include "platform/sim/call_names.h"
#include "platform/sim/machine_description.h"
#include "platform/sim/sim_file_system.h"

namespace si32::sim {

class SimKernel : public Kernel {
public:
    SimKernel(const MachineDescription& description, const FailingCalls& failing, const SimFileSystem& files)
        : machine_(description), failing_(failing), files_(files) {}

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
    uint32_t GetACP() override { return machine_.ansiCodePage; }

private:
    uint32_t directory(std::string_view call, const std::optional<std::string>& path, std::span<char> buffer);
    const DriveFacts* drive(std::string_view rootPath, bool anyFolder = false) const;

    const MachineDescription& machine_;
    const FailingCalls& failing_;
    const SimFileSystem& files_;
};

}  // namespace si32::sim
