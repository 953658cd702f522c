#include "platform/host/machine/host_facts.h"

#include <sys/resource.h>
#include <sys/utsname.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <utility>
#include <vector>

#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

// Leading decimal digits; nullopt when there are none.
std::optional<uint64_t> leadingNumber(std::string_view& text) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) return std::nullopt;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

}  // namespace

std::optional<KernelVersion> parseKernelRelease(std::string_view release) {
    release = trimBlanks(release);
    uint64_t parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const auto n = leadingNumber(release);
        if (!n) {
            if (i == 0) return std::nullopt;
            break;
        }
        if (*n > UINT32_MAX) return std::nullopt;
        parts[i] = *n;
        if (release.empty() || release.front() != '.') break;
        release.remove_prefix(1);
    }
    return KernelVersion{static_cast<uint32_t>(parts[0]), static_cast<uint32_t>(parts[1]),
                         static_cast<uint32_t>(parts[2])};
}

std::optional<std::string> kernelRelease(const std::string& root) {
    auto release = readLineUnderRoot(root, "/proc/sys/kernel/osrelease");
    if (release && !release->empty()) return release;
    return std::nullopt;
}

std::string machineName() {
    utsname names{};
    if (::uname(&names) != 0) return {};
    return names.machine;
}

std::optional<CpuSet> parseCpuList(std::string_view list) {
    list = trimBlanks(list);
    if (list.empty()) return std::nullopt;
    // The kernel writes each processor once, in order; a list that names one
    // twice (overlapping or repeated ranges) still counts it once.
    std::vector<std::pair<uint64_t, uint64_t>> ranges;
    while (!list.empty()) {
        const auto first = leadingNumber(list);
        if (!first) return std::nullopt;
        uint64_t last = *first;
        if (!list.empty() && list.front() == '-') {
            list.remove_prefix(1);
            const auto end = leadingNumber(list);
            if (!end || *end < *first) return std::nullopt;
            last = *end;
        }
        ranges.emplace_back(*first, last);
        if (!list.empty()) {
            if (list.front() != ',' || list.size() == 1) return std::nullopt;
            list.remove_prefix(1);
        }
    }
    std::sort(ranges.begin(), ranges.end());
    CpuSet set;
    uint64_t total = 0;
    std::optional<uint64_t> covered;  // the highest processor counted so far
    for (auto [first, last] : ranges) {
        if (covered && last <= *covered) continue;
        if (covered && first <= *covered) first = *covered + 1;
        if (last - first >= UINT32_MAX - total) return std::nullopt;
        total += last - first + 1;
        for (uint64_t cpu = first; cpu <= last && cpu < 32; ++cpu) set.mask |= 1u << cpu;
        covered = last;
    }
    set.count = static_cast<uint32_t>(total);
    return set;
}

std::optional<CpuSet> onlineCpus(const std::string& root) {
    const auto list = readLineUnderRoot(root, "/sys/devices/system/cpu/online");
    if (!list) return std::nullopt;
    return parseCpuList(*list);
}

std::optional<MemoryFacts> parseMeminfo(std::string_view text) {
    // The file has about fifty lines; only these are read, the last of a
    // name standing.
    constexpr std::array<std::string_view, 7> kWanted{"MemTotal", "MemAvailable", "MemFree", "Buffers",
                                                      "Cached",   "SwapTotal",    "SwapFree"};
    std::array<std::optional<uint64_t>, kWanted.size()> kib;
    for (std::string_view line : splitLines(text)) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const auto wanted = std::find(kWanted.begin(), kWanted.end(), line.substr(0, colon));
        if (wanted == kWanted.end()) continue;
        std::string_view value = trimBlanks(line.substr(colon + 1));
        if (const auto n = leadingNumber(value)) kib[static_cast<size_t>(wanted - kWanted.begin())] = *n;
    }
    const auto get = [&](std::string_view key) -> std::optional<uint64_t> {
        const auto& found = kib[static_cast<size_t>(std::find(kWanted.begin(), kWanted.end(), key) - kWanted.begin())];
        if (!found) return std::nullopt;
        return *found * 1024;
    };
    MemoryFacts memory;
    const auto total = get("MemTotal");
    if (!total || *total == 0) return std::nullopt;
    memory.total = *total;
    if (const auto available = get("MemAvailable")) {
        memory.available = *available;
    } else {
        // Kernels before 3.14 do not estimate it; free plus the page cache is
        // what they would have estimated.
        const auto free = get("MemFree");
        if (!free) return std::nullopt;
        memory.available = *free + get("Buffers").value_or(0) + get("Cached").value_or(0);
    }
    if (memory.available > memory.total) memory.available = memory.total;
    memory.swapTotal = get("SwapTotal").value_or(0);
    memory.swapFree = get("SwapFree").value_or(0);
    return memory;
}

std::optional<MemoryFacts> memoryFacts(const std::string& root) {
    const auto text = readUnderRoot(root, "/proc/meminfo");
    if (!text) return std::nullopt;
    return parseMeminfo(*text);
}

uint32_t memoryLoad(const MemoryFacts& memory) {
    if (memory.total == 0) return 0;
    const uint64_t used = memory.total - memory.available;
    if (used > UINT64_MAX / 100) return static_cast<uint32_t>(used / (memory.total / 100));
    return static_cast<uint32_t>(used * 100 / memory.total);
}

std::optional<AddressSpace> addressSpace(const std::string& root) {
    // The user part of the address space the kernel gives a process of this
    // build, unless a resource limit narrows it.
    uint64_t total = sizeof(void*) == 8 ?
#if defined(__aarch64__)
                                        (uint64_t{1} << 48)
#else
                                        (uint64_t{1} << 47)
#endif
                                        : (uint64_t{3} << 30);
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < total)
        total = limit.rlim_cur;
    const auto status = readUnderRoot(root, "/proc/self/status");
    if (!status) return std::nullopt;
    auto text = colonField(*status, "VmSize");
    if (!text) return std::nullopt;
    const auto kib = leadingNumber(*text);
    if (!kib) return std::nullopt;
    const uint64_t used = *kib * 1024;
    return AddressSpace{total, used < total ? total - used : 0};
}

}  // namespace si32
