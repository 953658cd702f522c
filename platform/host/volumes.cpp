// Placeholder until the host volumes land: every volume call fails.
#include "platform/host/volumes.h"

namespace si32 {

struct HostVolumes::Impl {
    const DriveMap& drives;
};

HostVolumes::HostVolumes(const HostContext&, const DriveMap& drives) : impl_(new Impl{drives}) {}
HostVolumes::~HostVolumes() = default;

uint32_t HostVolumes::GetDriveTypeA(std::string_view rootPath) {
    if (rootPath.empty()) return 1;
    const MappedDrive* d = impl_->drives.find(rootPath.front());
    return d == nullptr ? 1 : d->driveType;
}
int32_t HostVolumes::GetVolumeInformationA(std::string_view, std::span<char>, uint32_t&, uint32_t&, uint32_t&,
                                           std::span<char>) {
    return 0;
}
int32_t HostVolumes::GetDiskFreeSpaceA(std::string_view, uint32_t&, uint32_t&, uint32_t&, uint32_t&) { return 0; }
int32_t HostVolumes::GetDiskFreeSpaceExA(std::string_view, uint64_t&, uint64_t&, uint64_t&) { return 0; }

}  // namespace si32
