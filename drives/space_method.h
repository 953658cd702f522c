#pragma once
// How the "Drive Info" frame measures a drive: from the byte counts of the
// extended query (large-volume method) or from the cluster figures of the
// classic query (cluster method). The counts are 64-bit so that a volume of
// 2 GB or more, or a fixed disk of 2 TB or more, still shows its real size.
#include <cstdint>
#include <string_view>

namespace si32 {

enum class SpaceMethod { LargeVolume, Cluster };

// The choice rests on the captions exactly as they read, case and all.
SpaceMethod ChooseSpaceMethod(std::string_view driveTypeCaption, std::string_view osCaption);

// Bytes in that many clusters; raises the overflow error beyond 64 bits.
int64_t ClusterBytes(uint32_t sectorsPerCluster, uint32_t bytesPerSector, uint32_t clusters);

// Unit texts and patterns of the two size pairs of one method.
struct SpaceUnits {
    std::string_view smaller;  // "  MB" or "  KB"
    std::string_view larger;   // " GB)" or " MB)"
    double step;               // bytes in the smaller unit
};
inline constexpr SpaceUnits kLargeVolumeUnits{"  MB", " GB)", 1048576};
inline constexpr SpaceUnits kClusterUnits{"  KB", " MB)", 1024};

inline constexpr std::string_view kTotalPattern = "###,###,###";
inline constexpr std::string_view kTotalLargerPattern = "###,###.##";
inline constexpr std::string_view kFreePattern = "###,###,##0";
inline constexpr std::string_view kFreeLargerPattern = "###,##0.##";
inline constexpr std::string_view kGeometryPattern = "###,###,###,###";

}  // namespace si32
