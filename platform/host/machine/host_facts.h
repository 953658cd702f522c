#pragma once
// The machine's version, processors and memory, read from the host's files
// under the context's root, and the plain parsers behind them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace si32 {

struct KernelVersion {
    uint32_t major = 0, minor = 0, patch = 0;
};

// "6.1.0-18-amd64" -> 6, 1, 0; a missing patch level counts as 0.
std::optional<KernelVersion> parseKernelRelease(std::string_view release);
// The running kernel's release (/proc/sys/kernel/osrelease, as uname says).
std::optional<std::string> kernelRelease(const std::string& root);
// The machine's hardware name ("x86_64", "aarch64"), as uname says.
std::string machineName();

// A CPU list as the kernel writes it ("0-3,6,8-9"): how many, and the mask
// of those below 32.
struct CpuSet {
    uint32_t count = 0;
    uint32_t mask = 0;
};
std::optional<CpuSet> parseCpuList(std::string_view list);
// The processors online (/sys/devices/system/cpu/online).
std::optional<CpuSet> onlineCpus(const std::string& root);

// /proc/meminfo in bytes.
struct MemoryFacts {
    uint64_t total = 0, available = 0, swapTotal = 0, swapFree = 0;
};
std::optional<MemoryFacts> parseMeminfo(std::string_view text);
std::optional<MemoryFacts> memoryFacts(const std::string& root);
// The percentage in use: (total - available) / total, rounded down.
uint32_t memoryLoad(const MemoryFacts& memory);

// The process's address space: its limit, and how much of it is unused.
struct AddressSpace {
    uint64_t total = 0, available = 0;
};
std::optional<AddressSpace> addressSpace(const std::string& root);

}  // namespace si32
