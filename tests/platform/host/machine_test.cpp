// The host answers compared with what the machine's own tools say.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host/kernel/host_kernel.h"
#include "platform/host/machine/host_facts.h"
#include "platform/host/registry/host_registry.h"
#include "tests/platform/host/host_test_support.h"

namespace si32 {
namespace {

// The first line a tool prints; nullopt when it cannot be run.
std::optional<std::string> toolSays(const std::string& command) {
    std::FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    char line[512] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    const int status = ::pclose(pipe);
    if (!got || status != 0) return std::nullopt;
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

struct LiveHost {
    hosttest::ScratchPrefix prefix;
    MachineFacts machine = readMachineFacts(prefix.context.root, prefix.context.machine);
    HostVolumes volumes{prefix.context, prefix.drives};
    HostKernel kernel{prefix.context, machine, prefix.drives, volumes};
    RegistryStore store;
    HostRegistry registry{prefix.context, store};
};

TEST(HostMachine, ComputerName) {
    const auto expected = toolSays("hostname");
    if (!expected) GTEST_SKIP() << "hostname is not installed";
    LiveHost host;
    std::vector<char> buffer(256);
    uint32_t size = 256;
    ASSERT_NE(host.kernel.GetComputerNameA(buffer, size), 0);
    EXPECT_EQ(std::string(buffer.data(), size), *expected);
}

TEST(HostMachine, UserName) {
    const auto expected = toolSays("id -un");
    if (!expected) GTEST_SKIP() << "id is not installed";
    LiveHost host;
    std::vector<char> buffer(256);
    uint32_t size = 256;
    ASSERT_NE(host.registry.GetUserNameA(buffer, size), 0);
    EXPECT_EQ(size, expected->size() + 1) << "the count includes the NUL";
    EXPECT_EQ(std::string(buffer.data()), *expected);

    std::vector<char> small(expected->size(), 'x');
    size = static_cast<uint32_t>(small.size());
    EXPECT_EQ(host.registry.GetUserNameA(small, size), 0);
    EXPECT_EQ(size, expected->size() + 1);
}

TEST(HostMachine, ProcessorsOnline) {
    const auto online = toolSays("getconf _NPROCESSORS_ONLN");
    if (!online) GTEST_SKIP() << "getconf is not installed";
    LiveHost host;
    SystemInfo info;
    host.kernel.GetSystemInfo(info);
    EXPECT_EQ(std::to_string(info.dwNumberOfProcessors), *online);
    // nproc counts only the processors this process may use.
    if (const auto usable = toolSays("nproc")) {
        EXPECT_GE(info.dwNumberOfProcessors, std::stoul(*usable));
    }
}

TEST(HostMachine, PhysicalMemory) {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t kib = 0;
    if (!(meminfo >> key >> kib) || key != "MemTotal:") GTEST_SKIP() << "/proc/meminfo cannot be read";
    LiveHost host;
    MemoryStatusEx status;
    ASSERT_NE(host.kernel.GlobalMemoryStatusEx(status), 0);
    EXPECT_EQ(status.ullTotalPhys, kib * 1024);
    EXPECT_LE(status.dwMemoryLoad, 100u);
}

TEST(HostMachine, KernelRelease) {
    const auto release = toolSays("uname -r");
    if (!release) GTEST_SKIP() << "uname is not installed";
    EXPECT_EQ(kernelRelease("/"), *release);
}

}  // namespace
}  // namespace si32
