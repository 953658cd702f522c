#include "drives/drive_info.h"

#include <string>

#include "drives/drive_tables.h"
#include "drives/space_method.h"
#include "format/format_value.h"
#include "format/size_pair.h"
#include "platform/guarded.h"
#include "platform/text_helpers.h"
#include "window/layout.h"
#include "window/si9x.h"

namespace si32 {
namespace {

// The volume query's name buffers are pre-filled with blanks, so a failed
// query shows blanks rather than a placeholder.
constexpr std::size_t kNameBufferSize = 255;

// In lower case, as the list shows the letter; with no drive listed, no
// letter at all.
std::string rootPathOf(const Si9x& form) {
    const char letter = form.Drive1Current().letter;
    return (letter != '\0' ? std::string(1, lowerAscii(letter)) : std::string()) + ":\\";
}

// Both size pairs, each field its own statement, so that one that fails
// leaves only itself unchanged.
void writeSpace(Platform& platform, Si9x& form, int64_t total, int64_t free, const SpaceUnits& units) {
    guarded([&] {
        auto pair = FormatSizePair(platform.regional, static_cast<double>(total) / 1024, kTotalPattern, units.smaller,
                                   static_cast<double>(total) / 1048576, kTotalLargerPattern, units.larger);
        form.Label2(label2::TotalSpace).text = pair.primary;
        form.Label3(label3::TotalSpaceSecondary).text = pair.secondary;
    });
    guarded([&] {
        auto pair = FormatSizePair(platform.regional, static_cast<double>(free) / 1024, kFreePattern, units.smaller,
                                   static_cast<double>(free) / 1048576, kFreeLargerPattern, units.larger);
        form.Label2(label2::AvailableSpace).text = pair.primary;
        form.Label3(label3::AvailableSpaceSecondary).text = pair.secondary;
    });
}

void writeGeometry(Platform& platform, Si9x& form, uint32_t sectorsPerCluster, uint32_t bytesPerSector) {
    guarded([&] {
        form.Label2(label2::BytesPerSector).text = FormatValue(platform.regional, bytesPerSector, kGeometryPattern);
    });
    guarded([&] {
        form.Label2(label2::SectorsPerCluster).text =
            FormatValue(platform.regional, sectorsPerCluster, kGeometryPattern);
    });
}

// The volume's name, serial, file-name length, flags and file system.
void showVolume(Kernel& kernel, Si9x& form) {
    std::string rootPath;
    std::string volumeName(kNameBufferSize, ' ');
    std::string fileSystemName(kNameBufferSize, ' ');
    uint32_t serialNumber = 0, maxComponentLength = 0, fileSystemFlags = 0;

    guarded([&] { rootPath = rootPathOf(form); });
    guarded([&] {
        kernel.GetVolumeInformationA(rootPath, volumeName, serialNumber, maxComponentLength, fileSystemFlags,
                                     fileSystemName);
    });

    auto& lblVolName = form.control("lblVolName");
    guarded([&] { lblVolName.text = upToNul(volumeName); });
    guarded([&] {
        if (lblVolName.text.empty()) lblVolName.text = "{volume has no label}";
    });

    // The serial is a DWORD held as a signed 32-bit number: a top bit set reads negative.
    guarded([&] { form.control("lblSerial").text = PlainDecimal(static_cast<int32_t>(serialNumber)); });
    guarded([&] { form.control("lblMaxFilenameLen").text = PlainDecimal(static_cast<int32_t>(maxComponentLength)); });

    auto& lblVolFlags = form.control("lblVolFlags");
    guarded([&] { lblVolFlags.text.clear(); });
    guarded([&] { lblVolFlags.text = VolumeFlagLines(fileSystemFlags); });

    guarded([&] { form.control("lblFN").text = upToNul(fileSystemName); });
}

// The drive type, then the space and geometry by the method the type decides.
void showSpace(Platform& platform, Si9x& form) {
    Kernel& kernel = platform.kernel;
    std::string rootPath;
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;

    guarded([&] { rootPath = rootPathOf(form); });
    guarded([&] {
        if (auto text = DriveTypeText(kernel.GetDriveTypeA(rootPath)))
            form.Label2(label2::DriveType).text = std::string(*text);
    });

    // A drive whose type could not be told keeps the previous drive's
    // caption, and that caption decides here.
    SpaceMethod method = SpaceMethod::Cluster;
    guarded([&] {
        method = ChooseSpaceMethod(form.Label2(label2::DriveType).text, form.Label2(label2::OperatingSystem).text);
    });

    if (method == SpaceMethod::LargeVolume) {
        uint64_t freeBytesToCaller = 0, totalBytes = 0, totalFreeBytes = 0;
        guarded([&] {
            kernel.GetDiskFreeSpaceA(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
        });
        guarded([&] { kernel.GetDiskFreeSpaceExA(rootPath, freeBytesToCaller, totalBytes, totalFreeBytes); });
        // Whole kilobytes; 64 bits hold any volume, so 2 TB and more show too.
        const auto totalKb = static_cast<int64_t>(totalBytes / 1024);
        const auto freeKb = static_cast<int64_t>(freeBytesToCaller / 1024);
        writeSpace(platform, form, totalKb, freeKb, kLargeVolumeUnits);
        writeGeometry(platform, form, sectorsPerCluster, bytesPerSector);
        return;
    }

    guarded(
        [&] { kernel.GetDiskFreeSpaceA(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters); });
    int64_t total = 0, free = 0;
    guarded([&] { total = ClusterBytes(sectorsPerCluster, bytesPerSector, totalClusters); });
    guarded([&] { free = ClusterBytes(sectorsPerCluster, bytesPerSector, freeClusters); });

    // Zero clusters: a drive without a medium, or one that did not answer.
    if (total == 0) {
        guarded([&] { form.Label2(label2::TotalSpace).text = "Not available"; });
        for (auto* field : {&form.Label3(label3::TotalSpaceSecondary), &form.Label2(label2::BytesPerSector),
                            &form.Label2(label2::SectorsPerCluster), &form.Label2(label2::AvailableSpace),
                            &form.Label3(label3::AvailableSpaceSecondary)})
            guarded([&] { field->text.clear(); });
        return;
    }
    writeSpace(platform, form, total, free, kClusterUnits);
    writeGeometry(platform, form, sectorsPerCluster, bytesPerSector);
}

}  // namespace

void Drive1_Change(Platform& platform, Si9x& form) {
    showVolume(platform.kernel, form);
    showSpace(platform, form);
}

}  // namespace si32
