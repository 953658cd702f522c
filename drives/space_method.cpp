#include "drives/space_method.h"

#include "platform/run_time_error.h"

namespace si32 {

SpaceMethod ChooseSpaceMethod(std::string_view driveTypeCaption, std::string_view osCaption) {
    if (driveTypeCaption == "Fixed" && osCaption != "Microsoft Windows 95") return SpaceMethod::LargeVolume;
    return SpaceMethod::Cluster;
}

int64_t ClusterBytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t clusters) {
    int64_t clusterSize = 0;
    int64_t bytes = 0;
    if (__builtin_mul_overflow(int64_t{sectorsPerCluster}, int64_t{bytesPerSector}, &clusterSize) ||
        __builtin_mul_overflow(clusterSize, int64_t{clusters}, &bytes))
        raise(ErrorKind::Overflow, "overflow in the cluster product");
    return bytes;
}

}  // namespace si32
