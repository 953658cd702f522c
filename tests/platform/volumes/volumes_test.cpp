// The host volume calls over drives whose statvfs and libblkid answers the
// test gives: names, flags and serials per file system, space figures in
// Windows form, and the time limit on a volume that does not answer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fixture_tree.h"
#include "platform/host/volumes/volumes.h"

namespace si32 {
namespace {

using namespace std::chrono_literals;

class AnsweringBlkid : public BlkidProbe {
public:
    explicit AnsweringBlkid(std::optional<VolumeTags> tags) : tags_(std::move(tags)) {}
    std::optional<VolumeTags> Probe(const std::string& devicePath, const std::string& number) override {
        asked = devicePath + " " + number;
        return tags_;
    }
    std::string asked;

private:
    std::optional<VolumeTags> tags_;
};

MappedDrive driveOn(std::string fsType, std::string options, std::string device) {
    MappedDrive drive;
    drive.letter = 'E';
    drive.hostPath = "/media/e";
    drive.mountPoint = "/media/e";
    drive.fsType = std::move(fsType);
    drive.options = std::move(options);
    drive.device = std::move(device);
    drive.deviceNumber = drive.device.empty() ? "" : "8:17";
    return drive;
}

FileSystemStats statsOf(uint64_t blockSize, uint64_t blocks, uint64_t free, uint64_t available) {
    return FileSystemStats{blockSize, blocks, free, available, 255};
}

VolumeSeams seamsOf(FileSystemStats stats, std::shared_ptr<BlkidProbe> blkid) {
    return VolumeSeams{[stats](const std::string&) { return std::optional<FileSystemStats>(stats); }, std::move(blkid),
                       2000ms};
}

struct VolumeCase {
    std::string name;
    std::string fsType, options;
    bool onDevice;
    VolumeTags tags;
    uint64_t clusters;
    std::string fileSystemName;
    uint32_t flags;
    uint32_t serial;
};

const std::vector<VolumeCase> kVolumeCases = {
    {"Fat32ByVersion",
     "vfat",
     "rw,shortname=mixed",
     true,
     {"vfat", "FAT32", "CARD", "ABCD-1234"},
     1000,
     "FAT32",
     0x6,
     0xABCD1234},
    {"FatBySmallClusterCount", "vfat", "rw", true, {"vfat", "", "", "1A2B-3C4D"}, 65524, "FAT", 0x6, 0x1A2B3C4D},
    {"Fat32ByLargeClusterCount", "vfat", "rw", true, {"vfat", "", "", "1A2B-3C4D"}, 65525, "FAT32", 0x6, 0x1A2B3C4D},
    {"NtfsThroughFuseKeepsTheLow32BitsOfItsSerial",
     "fuseblk",
     "rw,user_id=0",
     true,
     {"ntfs", "", "Windows", "0123456789ABCDEF"},
     1,
     "NTFS",
     0x17,
     0x89ABCDEF},
    {"Ntfs3MountedCaseInsensitive",
     "ntfs3",
     "rw,nocase,acl",
     true,
     {"ntfs", "", "", "0123456789ABCDEF"},
     1,
     "NTFS",
     0x1E,
     0x89ABCDEF},
    {"Ext4TakesTheFirst32BitsOfItsUuid",
     "ext4",
     "rw,errors=remount-ro",
     true,
     {"ext4", "1.0", "ROOT", "550e8400-e29b-41d4-a716-446655440000"},
     1,
     "EXT4",
     0xB,
     0x550E8400},
    {"Ext4WithoutAcls", "ext4", "rw,noacl", true, {"ext4", "", "", "550e8400-e29b"}, 1, "EXT4", 0x3, 0x550E8400},
    {"BtrfsCompressing",
     "btrfs",
     "rw,compress=zstd:3,subvol=/@",
     true,
     {"btrfs", "", "", "ffffffff-0000"},
     1,
     "BTRFS",
     0x1B,
     0xFFFFFFFF},
    {"BtrfsCompressingEveryFile",
     "btrfs",
     "rw,compress-force=zstd",
     true,
     {"btrfs", "", "", ""},
     1,
     "BTRFS",
     0x801B,
     0},
    {"BtrfsCompressionOff", "btrfs", "rw,compress=no", true, {"btrfs", "", "", ""}, 1, "BTRFS", 0xB, 0},
    {"CdromNamedAsWindowsDoes",
     "iso9660",
     "ro,nojoliet",
     true,
     {"iso9660", "Joliet", "Ubuntu", "2022-08-10-16-21-13-00"},
     1,
     "CDFS",
     0,
     0x20220810},
    {"Udf", "udf", "ro", true, {"udf", "", "DVD", "4a5b6c7d"}, 1, "UDF", 0x7, 0x4A5B6C7D},
    {"TmpfsHasNoSerial", "tmpfs", "rw,size=4194304k", false, {}, 1, "TMPFS", 0xB, 0},
    {"NetworkShare", "nfs4", "rw,vers=4.2", false, {}, 1, "NFS4", 0xB, 0},
    {"FuseShareLosesItsPrefix", "fuse.sshfs", "rw", false, {}, 1, "SSHFS", 0x3, 0},
    {"UnknownFileSystemClaimsNothing", "weirdfs", "rw", false, {}, 1, "WEIRDFS", 0, 0},
};

void PrintTo(const VolumeCase& c, std::ostream* out) { *out << c.name; }

class VolumeInformation : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeInformation, DescribesTheFileSystem) {
    const VolumeCase& c = GetParam();
    DriveMap map;
    map.drives_.push_back(driveOn(c.fsType, c.options, c.onDevice ? "sdb1" : ""));
    auto blkid = std::make_shared<AnsweringBlkid>(c.tags);
    HostVolumes volumes(HostContext{}, map, seamsOf(statsOf(4096, c.clusters, 1, 1), blkid));

    std::string label(255, ' '), fileSystem(255, ' ');
    uint32_t serial = 7, maxLength = 7, flags = 7;
    ASSERT_EQ(volumes.GetVolumeInformationA("E:\\", label, serial, maxLength, flags, fileSystem), 1);
    EXPECT_EQ(label.substr(0, label.find('\0')), c.tags.label);
    EXPECT_EQ(fileSystem.substr(0, fileSystem.find('\0')), c.fileSystemName);
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(serial, c.serial);
    EXPECT_EQ(maxLength, 255u);
    EXPECT_EQ(blkid->asked, c.onDevice ? "/dev/sdb1 8:17" : "");
}

INSTANTIATE_TEST_SUITE_P(FileSystems, VolumeInformation, ::testing::ValuesIn(kVolumeCases),
                         [](const auto& info) { return info.param.name; });

// An ordinary user cannot open the device; udev's record of it is readable.
TEST(HostBlkid, FallsBackToWhatUdevRecorded) {
    volumestest::FixtureTree tree;
    tree.write("/run/udev/data/b8:17",
               "S:disk/by-label/My\\x20Photos\nE:ID_FS_LABEL=My_Photos\nE:ID_FS_LABEL_ENC=My\\x20Photos\n"
               "E:ID_FS_UUID=ABCD-1234\nE:ID_FS_VERSION=FAT32\nE:ID_FS_TYPE=vfat\nE:ID_FS_USAGE=filesystem\n");
    const auto probe = MakeLibblkidProbe(tree.root());
    const auto tags = probe->Probe(tree.path("/dev/sdb1"), "8:17");
    ASSERT_TRUE(tags.has_value());
    EXPECT_EQ(tags->type, "vfat");
    EXPECT_EQ(tags->version, "FAT32");
    EXPECT_EQ(tags->label, "My Photos");
    EXPECT_EQ(tags->uuid, "ABCD-1234");
    EXPECT_FALSE(probe->Probe(tree.path("/dev/sdc1"), "8:33").has_value()) << "neither libblkid nor udev knows it";
}

// A device nothing can read (a container, no udev) still tells what its mount
// and statvfs know; only the label and serial are missing, as on a volume
// without them.
TEST(VolumeInformation, UnreadableDeviceKeepsWhatTheMountKnows) {
    DriveMap map;
    map.drives_.push_back(driveOn("ext4", "rw", "vda"));
    HostVolumes volumes(HostContext{}, map,
                        seamsOf(statsOf(4096, 1, 1, 1), std::make_shared<AnsweringBlkid>(std::nullopt)));
    std::string label(255, ' '), fileSystem(255, ' ');
    uint32_t serial = 7, maxLength = 7, flags = 7;
    ASSERT_EQ(volumes.GetVolumeInformationA("E:\\", label, serial, maxLength, flags, fileSystem), 1);
    EXPECT_EQ(label.c_str(), std::string());
    EXPECT_EQ(fileSystem.c_str(), std::string("EXT4"));
    EXPECT_EQ(serial, 0u);
    EXPECT_EQ(maxLength, 255u);
    EXPECT_EQ(flags, 0xBu);
}

struct FailingVolumeCase {
    std::string name;
    std::string rootPath;
    std::optional<VolumeTags> tags;
    std::size_t labelBuffer;
};

TEST(VolumeInformationFailures, LeaveEveryOutputAlone) {
    for (const auto& c : std::vector<FailingVolumeCase>{
             {"LabelLongerThanTheBuffer", "E:\\", VolumeTags{"ext4", "", "LONG LABEL", ""}, 10},
             {"NotARoot", "E:\\DATA", VolumeTags{}, 255},
             {"UnmappedLetter", "Q:\\", VolumeTags{}, 255},
         }) {
        SCOPED_TRACE(c.name);
        DriveMap map;
        map.drives_.push_back(driveOn("ext4", "rw", "sdb1"));
        HostVolumes volumes(HostContext{}, map,
                            seamsOf(statsOf(4096, 1, 1, 1), std::make_shared<AnsweringBlkid>(c.tags)));
        std::string label(c.labelBuffer, ' '), fileSystem(255, ' ');
        uint32_t serial = 7, maxLength = 7, flags = 7;
        EXPECT_EQ(volumes.GetVolumeInformationA(c.rootPath, label, serial, maxLength, flags, fileSystem), 0);
        EXPECT_EQ(label, std::string(c.labelBuffer, ' '));
        EXPECT_EQ(fileSystem, std::string(255, ' '));
        EXPECT_EQ(serial + maxLength + flags, 21u);
    }
}

TEST(DiskFreeSpace, ClustersFromTheAllocationUnitAndTheDevicesSectors) {
    volumestest::FixtureTree tree;
    tree.write("/disk4k/queue/logical_block_size", "4096\n");
    tree.write("/disk512/queue/logical_block_size", "512\n");
    struct SpaceCase {
        std::string name, diskDir;
        FileSystemStats stats;
        uint32_t sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    };
    for (const auto& c : std::vector<SpaceCase>{
             {"SectorsOf512", tree.path("/disk512"), statsOf(4096, 1000, 600, 500), 8, 512, 500, 1000},
             {"SectorsOf4k", tree.path("/disk4k"), statsOf(4096, 1000, 600, 500), 1, 4096, 500, 1000},
             {"NoDeviceClusterIsTheSector", "", statsOf(4096, 1000, 600, 500), 1, 4096, 500, 1000},
             {"SectorLargerThanTheCluster", tree.path("/disk4k"), statsOf(1024, 10, 5, 5), 1, 1024, 5, 10},
             {"SectorSizeUnknown", tree.path("/missing"), statsOf(4096, 10, 5, 5), 1, 4096, 5, 10},
             {"CountsBeyond32BitsSaturate", tree.path("/disk512"), statsOf(4096, 1ull << 33, 1ull << 32, 5), 8, 512, 5,
              0xFFFFFFFF},
         }) {
        SCOPED_TRACE(c.name);
        DriveMap map;
        map.drives_.push_back(driveOn("ext4", "rw", c.diskDir.empty() ? "" : "sdb1"));
        map.drives_[0].deviceDiskDir = c.diskDir;
        HostVolumes volumes(HostContext{}, map, seamsOf(c.stats, nullptr));
        uint32_t spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
        ASSERT_EQ(volumes.GetDiskFreeSpaceA("e:\\", spc, bps, freeClusters, totalClusters), 1);
        EXPECT_EQ(spc, c.sectorsPerCluster);
        EXPECT_EQ(bps, c.bytesPerSector);
        EXPECT_EQ(freeClusters, c.freeClusters);
        EXPECT_EQ(totalClusters, c.totalClusters);
    }
}

TEST(DiskFreeSpace, ExtendedCountsInBytes) {
    DriveMap map;
    map.drives_.push_back(driveOn("ext4", "rw", ""));
    HostVolumes volumes(HostContext{}, map, seamsOf(statsOf(4096, 1000, 600, 500), nullptr));
    uint64_t toCaller = 0, total = 0, totalFree = 0;
    ASSERT_EQ(volumes.GetDiskFreeSpaceExA("E:", toCaller, total, totalFree), 1);
    EXPECT_EQ(toCaller, 500u * 4096);
    EXPECT_EQ(total, 1000u * 4096);
    EXPECT_EQ(totalFree, 600u * 4096);

    HostVolumes huge(HostContext{}, map, seamsOf(statsOf(1ull << 20, 1ull << 50, 1, 1), nullptr));
    ASSERT_EQ(huge.GetDiskFreeSpaceExA("E:/", toCaller, total, totalFree), 1);
    EXPECT_EQ(total, UINT64_MAX);

    uint64_t untouched = 9;
    EXPECT_EQ(volumes.GetDiskFreeSpaceExA("E:\\x", untouched, untouched, untouched), 0);
    EXPECT_EQ(untouched, 9u);
}

TEST(DriveType, ComesFromTheMapForRootPathsOnly) {
    DriveMap map;
    map.drives_.push_back(driveOn("vfat", "rw", "sdb1"));
    map.drives_[0].driveType = 2;
    HostVolumes volumes(HostContext{}, map, seamsOf(statsOf(4096, 1, 1, 1), nullptr));
    for (const auto& [rootPath, type] : std::vector<std::pair<std::string, uint32_t>>{
             {"E:\\", 2}, {"e:\\", 2}, {"E:", 2}, {"E:/", 2}, {"E:\\DATA\\", 1}, {"Q:\\", 1}, {"", 1}, {"E", 1}})
        EXPECT_EQ(volumes.GetDriveTypeA(rootPath), type) << rootPath;
}

// A statvfs that blocks until the test lets it go, counting its callers.
struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::atomic<int> calls{0};
    std::atomic<int> finished{0};

    std::optional<FileSystemStats> pass() {
        ++calls;
        std::unique_lock lock(mutex);
        opened.wait(lock, [&] { return open; });
        ++finished;
        return statsOf(4096, 10, 5, 5);
    }
    void release() {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        opened.notify_all();
    }
};

TEST(SlowVolume, FailsAtTheDeadlineAndAtOnceWhileStillHung) {
    DriveMap map;
    map.drives_.push_back(driveOn("nfs4", "rw", ""));
    map.drives_.push_back(driveOn("ext4", "rw", ""));
    map.drives_[1].letter = 'F';
    map.drives_[1].hostPath = map.drives_[1].mountPoint = "/";
    std::atomic<int> calls{0};
    VolumeSeams seams{[&calls](const std::string& path) -> std::optional<FileSystemStats> {
                          ++calls;
                          if (path == "/media/e") std::this_thread::sleep_for(5s);  // a dead server
                          return statsOf(4096, 10, 5, 5);
                      },
                      nullptr, 2000ms};
    HostVolumes volumes(HostContext{}, map, seams);
    uint64_t a = 0, b = 0, c = 0;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(volumes.GetDiskFreeSpaceExA("E:\\", a, b, c), 0);
    const auto first = std::chrono::steady_clock::now() - start;
    EXPECT_GE(first, 1900ms);
    EXPECT_LT(first, 4500ms) << "the caller waited for the dead volume";

    uint32_t spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
    EXPECT_EQ(volumes.GetDiskFreeSpaceA("E:\\", spc, bps, freeClusters, totalClusters), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start - first, 1000ms);
    EXPECT_EQ(calls.load(), 1) << "a second worker piled up on the hung mount";

    // Another mount is not held up by the hung one.
    EXPECT_EQ(volumes.GetDiskFreeSpaceExA("F:\\", a, b, c), 1);
    EXPECT_EQ(b, 40960u);
}

TEST(SlowVolume, StaysDeadAfterTheHungCallReturns) {
    DriveMap map;
    map.drives_.push_back(driveOn("nfs4", "rw", ""));
    auto gate = std::make_shared<Gate>();
    HostVolumes volumes(HostContext{}, map,
                        VolumeSeams{[gate](const std::string&) { return gate->pass(); }, nullptr, 50ms});
    uint64_t a = 0, b = 0, c = 0;
    EXPECT_EQ(volumes.GetDiskFreeSpaceExA("E:\\", a, b, c), 0);
    gate->release();
    while (gate->finished.load() == 0) std::this_thread::sleep_for(1ms);
    // A server that hung once is not trusted again in this run: the drive
    // map's guard knows it too, so file access to it fails as well.
    EXPECT_EQ(volumes.GetDiskFreeSpaceExA("E:\\", a, b, c), 0);
    EXPECT_EQ(gate->calls.load(), 1);
    EXPECT_TRUE(map.mounts->IsDead("/media/e"));
}

}  // namespace
}  // namespace si32
