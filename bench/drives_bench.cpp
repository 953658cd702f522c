// Targets: one Drive1_Change on a local disk under 1 ms; the drive list of a
// machine with 50 mounts under 5 ms.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "drives/drive_info.h"
#include "platform/host/host_backend.h"
#include "platform/host/volumes/drive_map.h"
#include "platform/host/volumes/volumes.h"
#include "tests/platform/volumes/fixture_tree.h"
#include "tests/support/recording_frontend.h"
#include "window/si9x.h"

namespace si32 {
namespace {

// The real host backend; the drive is the one the root file system got.
void BM_Drive1ChangeOnTheRootFileSystem(benchmark::State& state) {
    volumestest::FixtureTree prefix;
    prefix.makeDirectory("/drive_c");
    ::setenv("SI32_PREFIX", prefix.root().c_str(), 1);
    testsupport::RecordingFrontend frontend;
    auto backend = makeHostBackend(frontend, Program::Report);
    const auto root = DriveMap::Build(HostContext{"/", prefix.root(), true, ""}).ToWindowsPath("/");
    if (!root) {
        state.SkipWithError("the root file system has no letter");
        return;
    }
    Si9x form;
    form.ShowDrive1({root->front(), ""});
    form.Label2(0).text = "Linux";
    for (auto _ : state) {
        Drive1_Change(backend->platform(), form);
        benchmark::DoNotOptimize(form.Label2(10).text);
    }
    state.SetLabel(form.Label2(17).text + ", " + form.Label2(10).text);
}
BENCHMARK(BM_Drive1ChangeOnTheRootFileSystem)->Unit(benchmark::kMicrosecond);

// The frame's four volume calls alone, without the formatting around them.
void BM_VolumeCallsOnTheRootFileSystem(benchmark::State& state) {
    volumestest::FixtureTree prefix;
    prefix.makeDirectory("/drive_c");
    const HostContext context{"/", prefix.root(), true, ""};
    const auto map = DriveMap::Build(context);
    HostVolumes volumes(context, map);
    const auto root = map.ToWindowsPath("/").value_or("C:\\");
    for (auto _ : state) {
        std::string label(255, ' '), fileSystem(255, ' ');
        uint32_t serial = 0, maxLength = 0, flags = 0, spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
        uint64_t toCaller = 0, total = 0, totalFree = 0;
        volumes.GetVolumeInformationA(root, label, serial, maxLength, flags, fileSystem);
        benchmark::DoNotOptimize(volumes.GetDriveTypeA(root));
        volumes.GetDiskFreeSpaceA(root, spc, bps, freeClusters, totalClusters);
        volumes.GetDiskFreeSpaceExA(root, toCaller, total, totalFree);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_VolumeCallsOnTheRootFileSystem)->Unit(benchmark::kMicrosecond);

// Mount table, sysfs and label links as a desktop has them, 50 mounts in all.
void BM_DriveListOfFiftyMounts(benchmark::State& state) {
    ::setenv("SI32_SOURCE_DIR", SI32_SOURCE_DIR, 0);
    volumestest::FixtureTree tree;
    tree.mountTable("fifty.mountinfo");
    const std::string nvme = "/sys/devices/pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1";
    tree.disk(nvme, "259:0", false, "512");
    for (int i = 1; i <= 3; ++i) tree.partition(nvme, "nvme0n1p" + std::to_string(i), "259:" + std::to_string(i));
    const std::string usb = "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb";
    tree.disk(usb, "8:16", true, "512");
    tree.partition(usb, "sdb1", "8:17");
    tree.disk("/sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0/block/sr0", "11:0", true, "2048");
    for (int i = 0; i < 60; ++i)
        tree.disk("/sys/devices/virtual/block/loop" + std::to_string(i), "7:" + std::to_string(i), false, "512");
    tree.link("/dev/disk/by-label/ROOT", "../../nvme0n1p2");
    tree.link("/dev/disk/by-label/My\\x20Photos", "../../sdb1");
    tree.makeDirectory("/prefix/drive_c");
    const HostContext context{tree.root(), tree.path("/prefix"), true, ""};

    std::size_t letters = 0;
    for (auto _ : state) {
        const auto map = DriveMap::Build(context);
        std::vector<std::string> entries;
        for (const auto& drive : map.drives()) entries.push_back(DriveListText({drive.letter, drive.listLabel}));
        letters = entries.size();
        benchmark::DoNotOptimize(entries.data());
    }
    state.counters["drives"] = static_cast<double>(letters);
}
BENCHMARK(BM_DriveListOfFiftyMounts)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace si32

BENCHMARK_MAIN();
