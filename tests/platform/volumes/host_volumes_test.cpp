// The host volume calls against this very machine: what they answer must be
// what the system's own tools say. Where the machine lacks a tool or the
// right to mount, the test says so and skips.
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "drives/drive_info.h"
#include "platform/host/host_backend.h"
#include "platform/host/volumes/blkid_probe.h"
#include "platform/host/volumes/volumes.h"
#include "tests/support/recording_frontend.h"
#include "window/si9x.h"

extern char** environ;

namespace si32 {
namespace {

// A tool's standard output; nullopt when it cannot be started or fails.
std::optional<std::string> runTool(const std::vector<std::string>& argv) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::string output;
    char chunk[4096];
    ssize_t got = 0;
    while (spawned == 0 && (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0) output.append(chunk, got);
    ::close(pipeEnds[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

bool haveTool(const char* name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    return false;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

std::map<std::string, std::string> exportPairs(const std::string& text) {
    std::map<std::string, std::string> pairs;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (const auto eq = line.find('='); eq != std::string::npos) pairs[line.substr(0, eq)] = line.substr(eq + 1);
    return pairs;
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string rootPathOf(const MappedDrive& drive) { return std::string(1, drive.letter) + ":\\"; }

std::string textOf(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }

class TempPrefix {
public:
    explicit TempPrefix(const std::string& under) {
        std::string pattern = under + "/si32-prefix-XXXXXX";
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : under;
        ::mkdir((path_ + "/drive_c").c_str(), 0755);
    }
    ~TempPrefix() {
        ::rmdir((path_ + "/drive_c").c_str());
        ::rmdir(path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A chroot's mount table does not hold the mount of its root, so findmnt
// cannot name it; the device under "/" and the type its superblock gives
// stand in for it.
void expectTheUnlistedRootAgrees(const MappedDrive& drive) {
    const auto rootDevice = runTool({"stat", "-c", "%Hd:%Ld", "/"});
    ASSERT_TRUE(rootDevice.has_value());
    if (drive.source.empty()) {
        std::cout << "[ INFO ] no sysfs here to name the device under /; its source unchecked\n";
        return;
    }
    const auto sourceDevice = runTool({"stat", "-L", "-c", "%Hr:%Lr", drive.source});
    ASSERT_TRUE(sourceDevice.has_value()) << drive.source;
    EXPECT_EQ(*sourceDevice, *rootDevice) << drive.source;
    const auto type = runTool({"blkid", "-o", "value", "-s", "TYPE", drive.source});
    if (!type || words(*type).empty()) {
        std::cout << "[ INFO ] blkid cannot read " << drive.source << " here; the root's type unchecked\n";
        return;
    }
    EXPECT_EQ(words(*type)[0], drive.fsType);
}

TEST(HostVolumes, LocalMountsAgreeWithTheSystemTools) {
    if (!haveTool("df") || !haveTool("findmnt") || !haveTool("stat"))
        GTEST_SKIP() << "this machine lacks df, findmnt or stat (util-linux, coreutils)";
    TempPrefix prefix(::testing::TempDir());
    const HostContext context{"/", prefix.path(), true, ""};
    const auto map = DriveMap::Build(context);
    HostVolumes volumes(context, map);

    int compared = 0;
    for (const auto& drive : map.drives()) {
        // Network shares are left alone: a dead server would only test the time limit.
        if (drive.hostPath != drive.mountPoint || drive.driveType == DRIVE_REMOTE) continue;
        SCOPED_TRACE(rootPathOf(drive) + " on " + drive.mountPoint);
        const auto found = runTool({"findmnt", "-n", "-r", "-o", "FSTYPE,SOURCE", "--mountpoint", drive.mountPoint});
        if (!found && drive.mountPoint == "/") {
            expectTheUnlistedRootAgrees(drive);
        } else {
            ASSERT_TRUE(found.has_value());
            const auto fields = words(*found);
            ASSERT_EQ(fields.size(), 2u);
            EXPECT_EQ(fields[0], drive.fsType);
            EXPECT_EQ(DecodeUdevEscapes(fields[1]), drive.source);
        }

        const auto df = runTool({"df", "-B1", "--output=size,avail", drive.mountPoint});
        ASSERT_TRUE(df.has_value());
        const auto sizes = words(*df);
        ASSERT_EQ(sizes.size(), 4u);  // two headings, two figures
        uint64_t toCaller = 0, total = 0, totalFree = 0;
        ASSERT_EQ(volumes.GetDiskFreeSpaceExA(rootPathOf(drive), toCaller, total, totalFree), 1);
        EXPECT_EQ(total, std::stoull(sizes[2]));
        // Other programs write while the test runs.
        EXPECT_NEAR(static_cast<double>(toCaller), std::stod(sizes[3]), 64.0 * 1024 * 1024);
        EXPECT_GE(totalFree, toCaller);

        uint32_t spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
        ASSERT_EQ(volumes.GetDiskFreeSpaceA(rootPathOf(drive), spc, bps, freeClusters, totalClusters), 1);
        if (total / (uint64_t{spc} * bps) <= UINT32_MAX) {
            EXPECT_EQ(uint64_t{totalClusters} * spc * bps, total);
        }

        std::string label(255, ' '), fileSystem(255, ' ');
        uint32_t serial = 0, maxLength = 0, flags = 0;
        const bool described =
            volumes.GetVolumeInformationA(rootPathOf(drive), label, serial, maxLength, flags, fileSystem) == 1;
        auto tags = drive.device.empty() ? std::nullopt : runTool({"blkid", "-o", "export", "/dev/" + drive.device});
        // blkid says nothing, successfully, about a device it may not open.
        if (tags && tags->empty()) tags.reset();
        if (!drive.device.empty() && !tags) {
            std::cout << "[ INFO ] blkid cannot read /dev/" << drive.device << " here; label and serial unchecked\n";
        } else {
            ASSERT_TRUE(described);
            const auto nameMax = runTool({"stat", "-f", "-c", "%l", drive.mountPoint});
            ASSERT_TRUE(nameMax.has_value());
            EXPECT_EQ(maxLength, std::stoul(*nameMax));
        }
        if (tags && described) {
            auto pairs = exportPairs(*tags);
            EXPECT_EQ(textOf(label), pairs["LABEL"]);
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08X", serial);
            std::string uuidDigits;
            for (char c : upper(pairs["UUID"]))
                if (std::isxdigit(static_cast<unsigned char>(c))) uuidDigits += c;
            if (!uuidDigits.empty()) {
                EXPECT_NE(uuidDigits.find(hex), std::string::npos) << pairs["UUID"];
            }
        }
        ++compared;
    }
    EXPECT_GE(compared, 1) << "not even the root file system was compared";
}

// libblkid itself, on a file system image the test makes.
TEST(HostBlkid, ReadsTheTagsOfAnImage) {
    if (!haveTool("mkfs.ext4")) GTEST_SKIP() << "this machine lacks mkfs.ext4 (e2fsprogs)";
    const std::string image = ::testing::TempDir() + "/si32-blkid-image";
    ASSERT_TRUE(runTool({"truncate", "-s", "4M", image}).has_value());
    ASSERT_TRUE(
        runTool({"mkfs.ext4", "-q", "-F", "-L", "Photo Disk", "-U", "12345678-9abc-def0-1234-56789abcdef0", image})
            .has_value());
    const auto tags = MakeLibblkidProbe("/")->Probe(image, "");
    ::unlink(image.c_str());
    ASSERT_TRUE(tags.has_value());
    EXPECT_EQ(tags->type, "ext4");
    EXPECT_EQ(tags->label, "Photo Disk");
    EXPECT_EQ(tags->uuid, "12345678-9abc-def0-1234-56789abcdef0");
}

// Mounting needs a private mount namespace, so nothing outside the test sees it.
class PrivateTmpfs : public ::testing::Test {
protected:
    void SetUp() override {
        if (::unshare(CLONE_NEWNS) != 0)
            GTEST_SKIP() << "cannot make a private mount namespace (" << std::strerror(errno)
                         << "): the test needs CAP_SYS_ADMIN";
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("si32-test", "/tmp", "tmpfs", 0, "size=8m,mode=1777") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs at /tmp here (" << std::strerror(errno) << ")";
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) ::umount2("/tmp", MNT_DETACH);
    }

private:
    bool mounted_ = false;
};

TEST_F(PrivateTmpfs, RamDiskOfEightMegabytes) {
    TempPrefix prefix("/tmp");
    const HostContext context{"/", prefix.path(), true, ""};
    const auto map = DriveMap::Build(context);
    const auto letter = map.ToWindowsPath("/tmp");
    ASSERT_TRUE(letter.has_value());
    const std::string root = letter->substr(0, 3);
    ASSERT_EQ(*letter, root) << "/tmp is a drive of its own";
    HostVolumes volumes(context, map);

    EXPECT_EQ(volumes.GetDriveTypeA(root), 6u);
    uint64_t toCaller = 0, total = 0, totalFree = 0;
    ASSERT_EQ(volumes.GetDiskFreeSpaceExA(root, toCaller, total, totalFree), 1);
    EXPECT_EQ(total, 8u << 20);
    const uint64_t freeBefore = toCaller;
    {
        std::ofstream file(prefix.path() + "/megabyte");
        file << std::string(1 << 20, 'x');
    }
    ASSERT_EQ(volumes.GetDiskFreeSpaceExA(root, toCaller, total, totalFree), 1);
    EXPECT_EQ(freeBefore - toCaller, 1u << 20);
    ::unlink((prefix.path() + "/megabyte").c_str());

    const auto page = static_cast<uint32_t>(::sysconf(_SC_PAGESIZE));
    uint32_t spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_EQ(volumes.GetDiskFreeSpaceA(root, spc, bps, freeClusters, totalClusters), 1);
    EXPECT_EQ(spc, 1u);
    EXPECT_EQ(bps, page);
    EXPECT_EQ(totalClusters, (8u << 20) / page);

    std::string label(255, ' '), fileSystem(255, ' ');
    uint32_t serial = 9, maxLength = 0, flags = 0;
    ASSERT_EQ(volumes.GetVolumeInformationA(root, label, serial, maxLength, flags, fileSystem), 1);
    EXPECT_EQ(textOf(label), "");
    EXPECT_EQ(textOf(fileSystem), "TMPFS");
    EXPECT_EQ(serial, 0u);
    EXPECT_EQ(maxLength, 255u);
    EXPECT_EQ(flags & 0x3, 0x3u);
}

// The whole road: the real host backend, the frame the user sees.
TEST_F(PrivateTmpfs, DriveInfoFrameOnTheHost) {
    TempPrefix prefix("/tmp");
    ::setenv("SI32_PREFIX", prefix.path().c_str(), 1);
    testsupport::RecordingFrontend frontend;
    auto backend = makeHostBackend(frontend, Program::Report);
    const auto letter = DriveMap::Build(HostContext{"/", prefix.path(), true, ""}).ToWindowsPath("/tmp");
    ASSERT_TRUE(letter.has_value());
    Si9x form;
    form.ShowDrive1({(*letter)[0], ""});

    Drive1_Change(backend->platform(), form);

    EXPECT_EQ(form.Label2(17).text, "Ramdisk");
    // Grouped as the user's locale groups.
    std::array<char, 8> separator{};
    backend->platform().regional.GetLocaleInfoA(LOCALE_STHOUSAND, separator);
    EXPECT_EQ(form.Label2(10).text, "8" + std::string(separator.data()) + "192  KB");
    EXPECT_EQ(form.Label3(0).text, "(8. MB)");
    EXPECT_EQ(form.control("lblFN").text, "TMPFS");
    EXPECT_EQ(form.control("lblVolName").text, "{volume has no label}");
    EXPECT_EQ(form.control("lblMaxFilenameLen").text, "255");
}

}  // namespace
}  // namespace si32
