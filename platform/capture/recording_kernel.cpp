#include "platform/capture/recorders.h"

#include <memory>
#include <vector>

#include "platform/capture/recording_calls.h"
#include "platform/capture/windows_paths.h"

namespace si32::capture {
namespace {

class RecordingKernel final : public Kernel {
public:
    RecordingKernel(Kernel& inner, Recording& rec) : inner_(inner), rec_(rec) {}

    int32_t GetVersionExA(OsVersionInfoA& info) override {
        const bool honest = info.dwOSVersionInfoSize == kOsVersionInfoASize;
        const int32_t ok = ask(rec_, "GetVersionExA", [&] { return inner_.GetVersionExA(info); });
        if (ok != 0 && honest)
            keepFirst(rec_.version,
                      RecordedVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber});
        return ok;
    }
    uint32_t GetWindowsDirectoryA(std::span<char> buffer) override {
        return directory("GetWindowsDirectoryA", rec_.windowsDirectory, buffer,
                         [this](std::span<char> b) { return inner_.GetWindowsDirectoryA(b); });
    }
    uint32_t GetSystemDirectoryA(std::span<char> buffer) override {
        return directory("GetSystemDirectoryA", rec_.systemDirectory, buffer,
                         [this](std::span<char> b) { return inner_.GetSystemDirectoryA(b); });
    }
    uint32_t GetTempPathA(std::span<char> buffer) override {
        return directory("GetTempPathA", rec_.tempDirectory, buffer,
                         [this](std::span<char> b) { return inner_.GetTempPathA(b); });
    }
    int32_t GetComputerNameA(std::span<char> buffer, uint32_t& size) override {
        const uint32_t given = size;
        const int32_t ok = ask(rec_, "GetComputerNameA", [&] { return inner_.GetComputerNameA(buffer, size); });
        if (ok != 0) {
            keepFirst(rec_.computerName, std::string(buffer.data(), std::min<size_t>(size, buffer.size())));
        } else if (size > given && !rec_.computerName) {
            std::vector<char> large(size);
            uint32_t largeSize = size;
            if (inner_.GetComputerNameA(large, largeSize) != 0)
                rec_.computerName = std::string(large.data(), largeSize);
        }
        return ok;
    }
    void GetSystemInfo(SystemInfo& info) override {
        ask(rec_, "GetSystemInfo", [&] { inner_.GetSystemInfo(info); });
        keepFirst(rec_.processorCount, info.dwNumberOfProcessors);
        keepFirst(rec_.processorType, info.dwProcessorType);
    }
    void GlobalMemoryStatus(MemoryStatus& status) override {
        ask(rec_, "GlobalMemoryStatus", [&] { inner_.GlobalMemoryStatus(status); });
        keepFirst(rec_.memoryLoad, status.dwMemoryLoad);
        keepFirst(rec_.totalPhysical, uint64_t{status.dwTotalPhys});
    }
    int32_t GlobalMemoryStatusEx(MemoryStatusEx& status) override {
        const int32_t ok = ask(rec_, "GlobalMemoryStatusEx", [&] { return inner_.GlobalMemoryStatusEx(status); });
        if (ok != 0) {
            keepFirst(rec_.memoryLoad, status.dwMemoryLoad);
            keepFirst(rec_.totalPhysical, status.ullTotalPhys);
        }
        return ok;
    }
    uint32_t GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view defaultValue,
                                      std::span<char> buffer, std::string_view fileName) override {
        const uint32_t count = ask(rec_, "GetPrivateProfileStringA", [&] {
            return inner_.GetPrivateProfileStringA(section, key, defaultValue, buffer, fileName);
        });
        std::string value(buffer.data(), std::min<size_t>(count, buffer.size()));
        if (!buffer.empty() && count + 1 >= buffer.size()) {
            // Cut to the program's buffer: the description needs it whole.
            std::vector<char> large(kLargeBuffer);
            const uint32_t whole = inner_.GetPrivateProfileStringA(section, key, defaultValue, large, fileName);
            value.assign(large.data(), whole);
        }
        // An answer that is the default may be a missing key; leaving it
        // out answers the same.
        if (value != defaultValue && windowsDirectory()) {
            const std::string path = iniFilePath(fileName, *windowsDirectory());
            auto& keys = rec_.ini[path][std::string(section)];
            keys.try_emplace(std::string(key), value);
        }
        return count;
    }
    int32_t GetVolumeInformationA(std::string_view rootPath, std::span<char> volumeName, uint32_t& serialNumber,
                                  uint32_t& maxComponentLength, uint32_t& fileSystemFlags,
                                  std::span<char> fileSystemName) override {
        const int32_t ok = ask(rec_, "GetVolumeInformationA", [&] {
            return inner_.GetVolumeInformationA(rootPath, volumeName, serialNumber, maxComponentLength, fileSystemFlags,
                                                fileSystemName);
        });
        RecordedDrive* drive = driveOf(rootPath);
        if (drive == nullptr || drive->volume || drive->volumeFails) return ok;
        if (ok != 0)
            drive->volume = RecordedVolume{cutAtNul(volumeName), cutAtNul(fileSystemName), serialNumber,
                                           maxComponentLength, fileSystemFlags};
        else if (!volumeName.empty() && !fileSystemName.empty()) drive->volumeFails = true;
        return ok;
    }
    uint32_t GetDriveTypeA(std::string_view rootPath) override {
        const uint32_t type = ask(rec_, "GetDriveTypeA", [&] { return inner_.GetDriveTypeA(rootPath); });
        if (RecordedDrive* drive = driveOf(rootPath); drive != nullptr && isRoot(rootPath))
            keepFirst(drive->type, type);
        return type;
    }
    int32_t GetDiskFreeSpaceA(std::string_view rootPath, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                              uint32_t& freeClusters, uint32_t& totalClusters) override {
        const int32_t ok = ask(rec_, "GetDiskFreeSpaceA", [&] {
            return inner_.GetDiskFreeSpaceA(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
        });
        RecordedDrive* drive = driveOf(rootPath);
        if (drive == nullptr || (rec_.spaceAsShown && (drive->clusters || drive->clustersFail))) return ok;
        drive->clusters.reset();
        if (ok != 0) drive->clusters = RecordedClusters{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
        drive->clustersFail = ok == 0;
        return ok;
    }
    int32_t GetDiskFreeSpaceExA(std::string_view rootPath, uint64_t& freeBytesToCaller, uint64_t& totalBytes,
                                uint64_t& totalFreeBytes) override {
        const int32_t ok = ask(rec_, "GetDiskFreeSpaceExA", [&] {
            return inner_.GetDiskFreeSpaceExA(rootPath, freeBytesToCaller, totalBytes, totalFreeBytes);
        });
        RecordedDrive* drive = driveOf(rootPath);
        if (drive == nullptr || (rec_.spaceAsShown && (drive->bytes || drive->bytesFail))) return ok;
        drive->bytes.reset();
        if (ok != 0) drive->bytes = RecordedBytes{freeBytesToCaller, totalBytes, totalFreeBytes};
        drive->bytesFail = ok == 0;
        return ok;
    }
    uint32_t GetACP() override {
        const uint32_t codePage = inner_.GetACP();
        keepFirst(rec_.codePage, codePage);
        return codePage;
    }

    // The Windows directory as the machine names it, learned on demand.
    const std::optional<std::string>& windowsDirectory() {
        if (!rec_.windowsDirectory) {
            std::vector<char> large(kLargeBuffer);
            const uint32_t n = inner_.GetWindowsDirectoryA(large);
            if (n != 0 && n < large.size()) rec_.windowsDirectory = std::string(large.data(), n);
        }
        return rec_.windowsDirectory;
    }

private:
    template <class Call>
    uint32_t directory(const char* name, std::optional<std::string>& slot, std::span<char> buffer, Call&& call) {
        const uint32_t result = ask(rec_, name, [&] { return call(buffer); });
        recordDirectory(slot, result, buffer, call);
        return result;
    }
    static bool isRoot(std::string_view rootPath) {
        return rootPath.size() == 2 || (rootPath.size() == 3 && (rootPath[2] == '\\' || rootPath[2] == '/'));
    }
    RecordedDrive* driveOf(std::string_view rootPath) {
        const std::optional<char> letter = driveLetterOf(rootPath);
        if (!letter) return nullptr;
        RecordedDrive& drive = rec_.drives[*letter];
        drive.letter = *letter;
        return &drive;
    }

    Kernel& inner_;
    Recording& rec_;
};

}  // namespace

std::unique_ptr<Kernel> RecordKernel(Kernel& inner, Recording& rec) {
    return std::make_unique<RecordingKernel>(inner, rec);
}

const std::optional<std::string>& RecordWindowsDirectory(Kernel& inner, Recording& rec) {
    return RecordingKernel(inner, rec).windowsDirectory();
}

}  // namespace si32::capture
