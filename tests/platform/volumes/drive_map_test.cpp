// The drive map over fixture machines: which mounts become letters, in what
// order, with what type and list label, and how paths cross the map.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fixture_tree.h"
#include "platform/host/volumes/drive_map.h"
#include "platform/host/volumes/drive_map_mounts.h"

namespace si32 {
namespace {

using volumestest::FixtureTree;

constexpr const char* kPrefix = "/home/alice/.local/share/si32";
constexpr const char* kNvme = "/sys/devices/pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1";
constexpr const char* kUsbDisk =
    "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb";
constexpr const char* kStick =
    "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-2/2-2:1.0/host7/target7:0:0/7:0:0:0/block/sdc";
constexpr const char* kOptical = "/sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0/block/sr0";

// The desktop of the fixture mount table, with its devices and labels.
void buildDesktop(const FixtureTree& tree) {
    tree.mountTable("desktop.mountinfo");
    tree.disk(kNvme, "259:0", false, "512");
    tree.partition(kNvme, "nvme0n1p1", "259:1");
    tree.partition(kNvme, "nvme0n1p2", "259:2");
    tree.partition(kNvme, "nvme0n1p3", "259:3");
    tree.partition(kNvme, "nvme0n1p4", "259:4");
    tree.partition(kNvme, "nvme0n1p5", "259:5");
    tree.disk(kUsbDisk, "8:16", false, "512");  // a card reader: not flagged removable, but on USB
    tree.partition(kUsbDisk, "sdb1", "8:17");
    tree.disk(kStick, "8:32", true, "512");  // mounted by the desktop under /run/media
    tree.partition(kStick, "sdc1", "8:33");
    tree.disk(kOptical, "11:0", true, "2048");
    tree.write(std::string(kOptical) + "/device/type", "5\n");
    tree.disk("/sys/devices/virtual/block/loop5", "7:5", false, "512");
    tree.link("/dev/disk/by-label/ROOT", "../../nvme0n1p2");
    tree.link("/dev/disk/by-label/HOME", "../../nvme0n1p3");
    tree.link("/dev/disk/by-label/My\\x20Photos", "../../sdb1");
    tree.link("/dev/disk/by-label/STICK", "../../sdc1");
    tree.link("/dev/disk/by-label/Ubuntu\\x2022.04\\x20LTS\\x20amd64", "../../sr0");
    tree.makeDirectory(std::string(kPrefix) + "/drive_c/WINDOWS/SYSTEM");
}

HostContext contextOf(const FixtureTree& tree) { return HostContext{tree.root(), tree.path(kPrefix), true, ""}; }

struct ExpectedDrive {
    char letter;
    std::string path;  // under the fixture root
    std::string fsType;
    uint32_t driveType;
    std::string listLabel;
};

void expectDrives(const FixtureTree& tree, const DriveMap& map, const std::vector<ExpectedDrive>& expected) {
    ASSERT_EQ(map.drives().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& drive = map.drives()[i];
        const auto& want = expected[i];
        SCOPED_TRACE(std::string(1, want.letter) + ":");
        EXPECT_EQ(drive.letter, want.letter);
        EXPECT_EQ(drive.hostPath, tree.path(want.path));
        EXPECT_EQ(drive.fsType, want.fsType);
        EXPECT_EQ(drive.driveType, want.driveType);
        EXPECT_EQ(drive.listLabel, want.listLabel);
    }
}

TEST(DriveMap, DesktopVolumesInMountOrderAfterThePrefixDrive) {
    FixtureTree tree;
    buildDesktop(tree);
    const auto map = DriveMap::Build(contextOf(tree));
    expectDrives(tree, map,
                 {
                     {'C', std::string(kPrefix) + "/drive_c", "btrfs", 3, "HOME"},
                     {'D', "", "ext4", 3, "ROOT"},
                     {'E', "/boot/efi", "vfat", 3, ""},
                     {'F', "/tmp", "tmpfs", 6, ""},
                     {'G', "/home", "btrfs", 3, "HOME"},
                     {'H', "/mnt/share", "nfs4", 4, "fileserver:/export/share"},
                     {'I', "/media/alice/My Photos", "vfat", 2, "My Photos"},
                     {'J', "/media/alice/Ubuntu 22.04 LTS amd64", "iso9660", 5, "Ubuntu 22.04 LTS amd64"},
                     {'K', "/media/alice/disk image", "iso9660", 5, ""},
                     {'L', "/media/alice/tab\tand\\slash", "cifs", 4, "//nas/backup share"},
                     // Mounted over: the later mount hides the earlier one.
                     {'M', "/srv/data", "xfs", 3, ""},
                     {'N', "/run/media/alice/STICK", "vfat", 2, "STICK"},
                 });
    EXPECT_EQ(map.find('i')->device, "sdb1");
    EXPECT_EQ(map.find('I')->deviceNumber, "8:17");
}

TEST(DriveMap, ContainerShowsItsRootAlone) {
    FixtureTree tree;
    tree.mountTable("container.mountinfo");
    const auto map = DriveMap::Build(contextOf(tree));
    // The prefix lies on the overlay root, which has no device.
    expectDrives(tree, map, {{'C', std::string(kPrefix) + "/drive_c", "overlay", 3, ""}, {'D', "", "overlay", 3, ""}});
}

// The table the start read is the one every later part uses: the file is
// not read again.
TEST(DriveMap, TheMountTableReadAtStartStandsForTheFile) {
    FixtureTree tree;
    tree.mountTable("container.mountinfo");
    std::ifstream file(tree.path("/proc/self/mountinfo"));
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto context = contextOf(tree);
    context.mountTable = std::make_shared<const std::vector<MountEntry>>(ParseMountInfo(text));
    std::filesystem::remove(tree.path("/proc/self/mountinfo"));
    const auto map = DriveMap::Build(context);
    expectDrives(tree, map, {{'C', std::string(kPrefix) + "/drive_c", "overlay", 3, ""}, {'D', "", "overlay", 3, ""}});
}

TEST(DriveMap, PrefixLinksTakeTheirLettersAndTheirVolumes) {
    FixtureTree tree;
    buildDesktop(tree);
    const std::string devices = std::string(kPrefix) + "/dosdevices";
    tree.makeDirectory(std::string(kPrefix) + "/windows-disk");
    tree.makeDirectory("/media/alice/My Photos");
    tree.link(devices + "/c:", "../windows-disk");
    tree.link(devices + "/e:", tree.path("/media/alice/My Photos"));
    tree.link(devices + "/z:", tree.path("/"));
    tree.link(devices + "/d::", "/dev/sr0");  // a raw device, not a drive
    const auto map = DriveMap::Build(contextOf(tree));

    ASSERT_NE(map.find('C'), nullptr);
    EXPECT_EQ(map.find('C')->hostPath, tree.path(std::string(kPrefix) + "/windows-disk"));
    EXPECT_EQ(map.find('E')->driveType, 2u);
    EXPECT_EQ(map.find('Z')->fsType, "ext4");
    // The root and the photo card have letters already; D: goes to the next volume.
    EXPECT_EQ(map.find('D')->hostPath, tree.path("/boot/efi"));
    EXPECT_EQ(map.find('F')->hostPath, tree.path("/tmp"));
    const auto photos = std::count_if(map.drives().begin(), map.drives().end(), [&](const auto& drive) {
        return drive.hostPath == tree.path("/media/alice/My Photos");
    });
    EXPECT_EQ(photos, 1);
}

// A chroot's table leaves out the mount of its root (or cannot be read at
// all): the root is still a volume, and it holds the prefix.
TEST(DriveMap, RootOutsideTheMountTableStillHasALetter) {
    for (const bool withTable : {false, true}) {
        SCOPED_TRACE(withTable ? "chroot table" : "no table");
        FixtureTree tree;
        if (withTable) tree.write("/proc/self/mountinfo", "30 29 0:5 / /proc rw - proc proc rw\n");
        const auto map = DriveMap::Build(contextOf(tree));
        ASSERT_EQ(map.drives().size(), 2u);
        EXPECT_EQ(map.drives()[1].letter, 'D');
        EXPECT_EQ(map.drives()[1].hostPath, tree.root());
        EXPECT_FALSE(map.drives()[1].fsType.empty()) << "the root's file system is named by its magic number";
        EXPECT_EQ(map.drives()[0].fsType, map.drives()[1].fsType) << "C: lies on the root";
        EXPECT_NE(map.drives()[0].driveType, 0u);
    }
}

TEST(DriveMap, LinksWithoutADirectoryAreLettersWithoutARoot) {
    FixtureTree tree;
    tree.mountTable("container.mountinfo");
    const std::string devices = std::string(kPrefix) + "/dosdevices";
    tree.write("/data/file", "x");
    ::mkfifo(tree.path("/data/fifo").c_str(), 0600);
    tree.link(devices + "/e:", tree.path("/data/missing"));
    tree.link(devices + "/f:", tree.path("/data/fifo"));
    tree.link(devices + "/g:", "/dev/null");
    tree.link(devices + "/h:", tree.path("/data/file"));
    tree.link(devices + "/i:", tree.path("/data"));
    const auto map = DriveMap::Build(contextOf(tree));
    for (const char letter : {'E', 'F', 'G', 'H'}) {
        ASSERT_NE(map.find(letter), nullptr) << letter << ": the letter stays in the list";
        EXPECT_EQ(map.find(letter)->driveType, 1u) << letter;
        EXPECT_FALSE(map.find(letter)->rootDirectory) << letter;
    }
    EXPECT_EQ(map.find('I')->driveType, 3u);
}

TEST(DriveMap, TranslatesPathsBothWays) {
    FixtureTree tree;
    buildDesktop(tree);
    tree.write(std::string(kPrefix) + "/drive_c/WINDOWS/System.ini", "[boot]\n");
    const auto map = DriveMap::Build(contextOf(tree));
    const std::string driveC = tree.path(std::string(kPrefix) + "/drive_c");

    struct ToHost {
        std::string windows;
        std::optional<std::string> host;
    };
    for (const auto& [windows, host] : std::vector<ToHost>{
             {"C:\\windows\\SYSTEM.INI", driveC + "/WINDOWS/System.ini"},
             {"c:/Windows/system", driveC + "/WINDOWS/SYSTEM"},
             {"C:\\windows\\nothere\\Sub", driveC + "/WINDOWS/nothere/Sub"},
             {"C:\\..\\..\\etc\\passwd", driveC + "/etc/passwd"},
             {"C:\\", driveC},
             {"C:", driveC},
             {"F:\\", tree.path("/tmp")},
             {"/usr/bin/tool", "/usr/bin/tool"},
             {"Q:\\file", std::nullopt},
             {"relative\\name", std::nullopt},
         })
        EXPECT_EQ(map.ToHostPath(windows), host) << windows;

    for (const auto& [host, windows] : std::vector<std::pair<std::string, std::optional<std::string>>>{
             {driveC + "/WINDOWS/SYSTEM", "C:\\WINDOWS\\SYSTEM"},
             {driveC, "C:\\"},
             {tree.path("/tmp/x/"), "F:\\x"},
             {tree.path("/media/alice/My Photos/a b.jpg"), "I:\\a b.jpg"},
             {tree.path("/usr/share"), "D:\\usr\\share"},
             {"relative/path", std::nullopt},
         })
        EXPECT_EQ(map.ToWindowsPath(host), windows) << host;
}

TEST(MountTable, DecodesTheKernelsOctalEscapes) {
    const auto mounts = ParseMountInfo(
        "90 28 8:17 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"
        "91 28 0:55 / /mnt/a\\011b\\134c rw - cifs //nas/backup\\040share rw\n");
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].mountPoint, "/media/My Disk");
    EXPECT_EQ(mounts[1].mountPoint, "/mnt/a\tb\\c");
    EXPECT_EQ(mounts[1].source, "//nas/backup share");
}

TEST(MountTable, ParsesOptionalFieldsAndSkipsBrokenLines) {
    const auto mounts = ParseMountInfo(
        "90 28 8:17 / /media/x rw,nosuid shared:60 master:7 - vfat /dev/sdb1 rw,uid=1000,utf8\n"
        "not a mount line\n"
        "91 28 8:18 / /media/y rw - ext4 /dev/sdb2 ro\n"
        "92 28 zz / /media/z rw - ext4 /dev/sdb3 rw\n");
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].fsType, "vfat");
    EXPECT_EQ(mounts[0].source, "/dev/sdb1");
    EXPECT_EQ(mounts[0].minor, 17u);
    EXPECT_TRUE(mounts[0].hasOption("nosuid"));
    EXPECT_EQ(mounts[0].optionValue("uid"), "1000");
    EXPECT_FALSE(mounts[0].hasOption("ui"));
    EXPECT_EQ(mounts[1].options, "rw,ro") << "the mount's own options, then its file system's";
}

TEST(MountTable, OneVolumePerFileSystemAtItsShallowestPoint) {
    struct Case {
        const char* what;
        const char* mountinfo;
        std::vector<std::string> points;
    };
    const Case cases[] = {
        {"btrfs subvolumes",
         "30 1 0:33 /@ / rw - btrfs /dev/nvme0n1p3 rw,subvolid=256,subvol=/@\n"
         "31 30 0:33 /@home /home rw - btrfs /dev/nvme0n1p3 rw,subvolid=257,subvol=/@home\n"
         "32 30 0:33 /@var /var rw - btrfs /dev/nvme0n1p3 rw,subvolid=258,subvol=/@var\n"
         "33 30 259:1 / /boot/efi rw - vfat /dev/nvme0n1p1 rw\n",
         {"/", "/boot/efi"}},
        {"a root deployed inside the file system mounted at /sysroot",
         "40 1 253:0 /ostree/deploy/fedora/deploy/3a1f.0 / rw - xfs /dev/mapper/root rw\n"
         "41 40 253:0 / /sysroot rw - xfs /dev/mapper/root rw\n"
         "42 40 253:0 /ostree/deploy/fedora/var /var rw - xfs /dev/mapper/root rw\n",
         {"/"}},
        {"a whole file system bound elsewhere, the deeper point mounted first",
         "50 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
         "51 50 8:17 / /mnt/backup/disk rw - ext4 /dev/sdb1 rw\n"
         "52 50 8:17 / /data rw - ext4 /dev/sdb1 rw\n",
         {"/", "/data"}},
        {"different file systems keep their letters",
         "60 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
         "61 60 8:1 / /boot rw - ext4 /dev/sda1 rw\n"
         "62 60 8:3 / /home rw - ext4 /dev/sda3 rw\n",
         {"/", "/boot", "/home"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> points;
        for (const MountEntry& volume : UserVolumes(ParseMountInfo(c.mountinfo))) points.push_back(volume.mountPoint);
        EXPECT_EQ(points, c.points) << c.what;
    }
}

}  // namespace
}  // namespace si32
