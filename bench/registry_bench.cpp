// Targets: a registry file imported in at most 1 us a key, linearly from 10
// to 100,000 keys, holding at most twice the file's size in memory.
//
// Memory is what operator new holds: the peak while importing and what the
// loaded registry keeps, both as multiples of the file's size. It is counted
// in one import of its own after the timed ones: asking the allocator for
// every block's size costs a cache miss on each free, a fifth of the time.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "platform/engine/registry_store.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<std::size_t> heldBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* counted(std::size_t size, std::size_t alignment = alignof(std::max_align_t)) {
    // A pool asks for its blocks aligned to their size, beyond malloc's own.
    void* block = alignment <= alignof(std::max_align_t)
                      ? std::malloc(size == 0 ? 1 : size)
                      : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (block == nullptr) throw std::bad_alloc();
    if (!counting.load(std::memory_order_relaxed)) return block;
    const std::size_t now = heldBytes += malloc_usable_size(block);
    for (std::size_t peak = peakBytes; now > peak && !peakBytes.compare_exchange_weak(peak, now);) {
    }
    return block;
}

void uncounted(void* block) noexcept {
    if (block == nullptr) return;
    // The counted import frees only what it took: its store is gone before
    // counting stops.
    if (counting.load(std::memory_order_relaxed)) heldBytes -= malloc_usable_size(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* block) noexcept { uncounted(block); }
void operator delete[](void* block) noexcept { uncounted(block); }
void operator delete(void* block, std::size_t) noexcept { uncounted(block); }
void operator delete[](void* block, std::size_t) noexcept { uncounted(block); }
void* operator new(std::size_t size, std::align_val_t alignment) {
    return counted(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return counted(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* block, std::align_val_t) noexcept { uncounted(block); }
void operator delete[](void* block, std::align_val_t) noexcept { uncounted(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { uncounted(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { uncounted(block); }

namespace si32 {
namespace {

// A user's registry.reg as exports write it: keys side by side under one
// parent and a level below, each with a text and a number.
std::string registryFile(int keys) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (int k = 0; k < keys; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\Bench\\Group" + std::to_string(k % 100) + "\\Key" + std::to_string(k) +
                "]\r\n";
        text += "\"Text\"=\"some value text of moderate length\"\r\n";
        text += "\"Number\"=dword:000001f4\r\n\r\n";
    }
    return text;
}

void BM_ImportRegistryFile(benchmark::State& state) {
    const auto keys = static_cast<int>(state.range(0));
    const std::string text = registryFile(keys);
    for (auto _ : state) {
        auto store = std::make_unique<RegistryStore>();
        benchmark::DoNotOptimize(store->ImportRegistryFile(text, "registry.reg"));
        // Dropping a registry is no part of importing one (the program does
        // it at a reload or at exit), and at 100,000 keys it is a fifth of
        // the time again.
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    double peak = 0, held = 0;
    {
        heldBytes = 0;
        peakBytes = 0;
        counting = true;
        RegistryStore store;
        benchmark::DoNotOptimize(store.ImportRegistryFile(text, "registry.reg"));
        held = static_cast<double>(heldBytes.load());
        peak = static_cast<double>(peakBytes.load());
    }
    counting = false;
    state.counters["us_per_key"] = benchmark::Counter(
        static_cast<double>(keys) / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["peak_x_file"] = peak / static_cast<double>(text.size());
    state.counters["held_x_file"] = held / static_cast<double>(text.size());
    state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ImportRegistryFile)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace si32

BENCHMARK_MAIN();
