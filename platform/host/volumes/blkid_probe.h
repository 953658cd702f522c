#pragma once
// The seam to libblkid: the tags of the file system on a block device. Tests
// answer for it; the real one asks libblkid and, where the device cannot be
// opened (an ordinary user), the record udev made when it probed the device.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace si32 {

struct VolumeTags {
    std::string type;     // "vfat", "ntfs", "ext4"
    std::string version;  // "FAT32" for a FAT file system; often empty
    std::string label;
    std::string uuid;  // "ABCD-1234" for FAT, 16 hex digits for NTFS, a UUID otherwise
};

class BlkidProbe {
public:
    virtual ~BlkidProbe() = default;
    // devicePath "/dev/sdb1" (under the root), deviceNumber "8:17". nullopt
    // when nothing can be learned; tags with empty fields when the device was
    // read and has none.
    virtual std::optional<VolumeTags> Probe(const std::string& devicePath, const std::string& deviceNumber) = 0;
};

std::shared_ptr<BlkidProbe> MakeLibblkidProbe(const std::string& root);

// udev writes the unsafe characters of a name (a label's link in
// /dev/disk/by-label, its *_ENC values) as \xHH.
std::string DecodeUdevEscapes(std::string_view text);

}  // namespace si32
