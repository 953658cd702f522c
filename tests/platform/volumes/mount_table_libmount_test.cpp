// The mount table as the program reads it against libmount's reading of the
// same text: every machine of the fixture trees, this machine's own table and
// the lines the kernel writes in its odd cases give the same entries.
#include <gtest/gtest.h>
#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/host/volumes/drive_map_mounts.h"
#include "tests/support/source_dir.h"

namespace si32 {
namespace {

std::string text(const char* value) { return value == nullptr ? std::string() : std::string(value); }

int skipBrokenLine(libmnt_table*, const char*, int) { return 1; }

std::vector<MountEntry> libmountReading(const std::string& mountinfo) {
    std::vector<MountEntry> mounts;
    std::string copy = mountinfo;
    FILE* stream = ::fmemopen(copy.data(), copy.size(), "r");
    if (stream == nullptr) return mounts;
    libmnt_table* table = mnt_new_table();
    mnt_table_set_parser_errcb(table, skipBrokenLine);
    if (mnt_table_parse_stream(table, stream, "mountinfo") == 0) {
        libmnt_iter* iterator = mnt_new_iter(MNT_ITER_FORWARD);
        libmnt_fs* fs = nullptr;
        while (mnt_table_next_fs(table, iterator, &fs) == 0) {
            MountEntry entry;
            entry.major = major(mnt_fs_get_devno(fs));
            entry.minor = minor(mnt_fs_get_devno(fs));
            entry.root = text(mnt_fs_get_root(fs));
            entry.mountPoint = text(mnt_fs_get_target(fs));
            entry.fsType = text(mnt_fs_get_fstype(fs));
            entry.source = text(mnt_fs_get_source(fs));
            entry.options = text(mnt_fs_get_vfs_options(fs));
            if (const std::string own = text(mnt_fs_get_fs_options(fs)); !own.empty()) entry.options += "," + own;
            mounts.push_back(entry);
        }
        mnt_free_iter(iterator);
    }
    mnt_unref_table(table);
    std::fclose(stream);
    return mounts;
}

std::string shown(const std::vector<MountEntry>& mounts) {
    std::string out;
    for (const MountEntry& m : mounts)
        out += std::to_string(m.major) + ":" + std::to_string(m.minor) + " [" + m.root + "] [" + m.mountPoint + "] [" +
               m.fsType + "] [" + m.source + "] [" + m.options + "]\n";
    return out;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(MountTableAsLibmountReadsIt, EveryFixtureMachineAndThisMachine) {
    std::vector<std::pair<std::string, std::string>> tables;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(testsupport::sourceDir() + "/tests"))
        if (entry.path().filename() == "mountinfo" && entry.is_regular_file())
            tables.emplace_back(entry.path().string(), fileText(entry.path()));
    ASSERT_GE(tables.size(), 10u) << "the fixture trees were not found";
    tables.emplace_back("this machine", fileText("/proc/self/mountinfo"));
    for (const auto& [name, mountinfo] : tables) {
        SCOPED_TRACE(name);
        const auto ours = ParseMountInfo(mountinfo);
        EXPECT_EQ(shown(ours), shown(libmountReading(mountinfo)));
        for (const MountEntry& m : ours) {
            if (mnt_fstype_is_netfs(m.fsType.c_str()) != 0) {
                EXPECT_TRUE(IsNetworkFileSystem(m.fsType)) << m.fsType;
            }
        }
    }
}

TEST(MountTableAsLibmountReadsIt, TheKernelsOddLines) {
    const std::string first = "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n";
    const char* const cases[] = {
        "90 28 8:17 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n",
        "91 28 0:55 / /mnt/a\\011b\\134c\\012d rw - cifs //nas/backup\\040share rw,vers=3.0\n",
        "92 28 0:56 / /mnt/gone\\040(deleted) rw - ext4 /dev/sdc1 rw\n",
        "93 28 0:57 / /mnt/nosource rw,nosuid - tmpfs  rw,size=10k\n",
        "94 28 0:58 /sub /mnt/bind rw shared:3 master:1 propagate_from:2 unbindable - btrfs /dev/sdd rw,subvol=/sub\n",
        "95\t28\t8:18\t/\t/mnt/tabs\trw\t-\text4\t/dev/sde1\trw\n",
        "96 28 8:19 / /mnt/crlf rw - ext4 /dev/sdf1 rw\r\n",
        "\n   \n# a comment\n97 28 8:20 / /mnt/after rw - ext4 /dev/sdg1 rw\n",
        "not a mount line\n98 28 8:21 / /mnt/next rw - ext4 /dev/sdh1 rw\n",
        "99 28 8:22 / /mnt/noseparator rw ext4 /dev/sdi1 rw\n",
        "100 28 8:23 / /mnt/notype rw -\n",
        "101 28 x:1 / /mnt/badnumber rw - ext4 /dev/sdj1 rw\n",
        "102 28 8:24 / /mnt/escapes\\777\\04\\ rw - ext4 /dev/sdk1 rw\n",
        "103 28 8:25 / /mnt/nooptions rw - ext4 /dev/sdl1\n",
        "104 28 8:26 / /mnt/lastline rw - nfs4 server:/export rw",
        "105 28 8:27junk / /mnt/trailing rw - ext4 /dev/sdm1 rw\n",
        "106 28 0:59 / /mnt/deleted2 rw - fuse.sshfs user@host:/\\040(deleted) rw\n",
        "107 28 0:60 / /mnt/blank rw - tmpfs \n",
        "108 28 0:61 / /mnt/twoblanks rw - tmpfs  \n",
        "109 28 0:62 / /mnt/minus\\040-\\040inside rw - ext4 /dev/sdn1 rw\n",
        "110 28 0:63 / /mnt/nul rw - ext4 /dev/sdo1 rw\n111 28 0:64 / /mnt/afternul rw - ext4 /dev/sdp1 rw\n",
    };
    for (const char* lines : cases) {
        SCOPED_TRACE(lines);
        const std::string table = first + lines;
        EXPECT_EQ(shown(ParseMountInfo(table)), shown(libmountReading(table)));
    }
}

TEST(MountTableAsLibmountReadsIt, NetworkFileSystemsIncludeLibmountsOwn) {
    const std::set<std::string> types = {"nfs",   "nfs4",      "nfsd",           "cifs", "smb3",    "smbfs", "afs",
                                         "ncpfs", "glusterfs", "fuse.curlftpfs", "9p",   "9pnet",   "ext4",  "btrfs",
                                         "tmpfs", "fuse",      "fuse.sshfs",     "ceph", "overlay", "vfat"};
    for (const std::string& type : types) {
        if (mnt_fstype_is_netfs(type.c_str()) != 0) {
            EXPECT_TRUE(IsNetworkFileSystem(type)) << type;
        }
    }
}

}  // namespace
}  // namespace si32
