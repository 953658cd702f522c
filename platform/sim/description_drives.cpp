// The drives section: one entry a drive letter, the volume facts beside it.
#include "platform/sim/description_parser.h"

namespace si32::sim {

void DescriptionParser::drives(const json& value) {
    reader_.expectArray(value, "drives");
    for (size_t i = 0; i < value.size(); ++i) {
        std::string path = elementPath("drives", i);
        const json& entry = value[i];
        reader_.expectObject(entry, path,
                             {"letter", "type", "label", "serial", "max_component", "flags", "file_system",
                              "sectors_per_cluster", "bytes_per_sector", "free_clusters", "total_clusters",
                              "free_bytes_to_caller", "total_bytes", "total_free_bytes", "volume_fails", "space_fails",
                              "cluster_space_fails", "byte_space_fails", "list_label"});
        DriveFacts drive;
        const json* letter = DescriptionReader::find(entry, "letter");
        if (letter == nullptr) reader_.fail(memberPath(path, "letter"), "expected a drive letter (missing)");
        std::string letterText = reader_.text(*letter, memberPath(path, "letter"));
        char c = letterText.size() == 1 ? static_cast<char>(letterText[0] & ~0x20) : '\0';
        if (c < 'A' || c > 'Z') reader_.fail(memberPath(path, "letter"), "expected one drive letter A to Z");
        for (const DriveFacts& earlier : out_.drives)
            if (earlier.letter == c) reader_.fail(memberPath(path, "letter"), "expected a letter not listed before");
        drive.letter = c;
        for (const auto& [name, member] : entry.items()) driveMember(drive, name, member, memberPath(path, name));
        out_.drives.push_back(std::move(drive));
    }
}

void DescriptionParser::driveMember(DriveFacts& drive, const std::string& name, const json& member,
                                    const std::string& path) {
    const DescriptionReader& r = reader_;
    if (name == "type") drive.type = r.u32(member, path);
    else if (name == "label") drive.label = r.text(member, path);
    else if (name == "file_system") drive.fileSystem = r.text(member, path);
    else if (name == "serial") drive.serial = r.u32(member, path);
    else if (name == "max_component") drive.maxComponent = r.u32(member, path);
    else if (name == "flags") drive.flags = r.u32(member, path);
    else if (name == "sectors_per_cluster") drive.sectorsPerCluster = r.u32(member, path);
    else if (name == "bytes_per_sector") drive.bytesPerSector = r.u32(member, path);
    else if (name == "free_clusters") drive.freeClusters = r.u32(member, path);
    else if (name == "total_clusters") drive.totalClusters = r.u32(member, path);
    else if (name == "free_bytes_to_caller") drive.freeBytesToCaller = r.u64(member, path);
    else if (name == "total_bytes") drive.totalBytes = r.u64(member, path);
    else if (name == "total_free_bytes") drive.totalFreeBytes = r.u64(member, path);
    else if (name == "volume_fails") drive.volumeFails = r.flag(member, path);
    else if (name == "space_fails") drive.spaceFails = r.flag(member, path);
    else if (name == "cluster_space_fails") drive.clusterSpaceFails = r.flag(member, path);
    else if (name == "byte_space_fails") drive.byteSpaceFails = r.flag(member, path);
    else if (name == "list_label") drive.listLabel = r.text(member, path);
}

}  // namespace si32::sim
