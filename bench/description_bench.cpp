// Targets: a description of 30 MB (a large registry text, 20,000 files,
// records of bytes) read at 30 MB/s or more, its peak memory within four
// times its size; reading time linear in the members (60,000 files take
// about ten times what 6,000 take, not a hundred); each size bomb refused
// within 100 ms. "peak_MB" is the process's high-water mark, the benchmark's
// own copy of the text included: run one case alone (--benchmark_filter)
// to read it.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>

#include "platform/platform.h"
#include "platform/sim/machine_description.h"

namespace si32 {
namespace {

std::string repeated(const std::string& item, std::size_t n) {
    std::string list;
    list.reserve((item.size() + 1) * n);
    for (std::size_t i = 0; i < n; ++i) list += (i == 0 ? "" : ",") + item;
    return list;
}

// What a generous capture holds, many times over.
std::string largeDescription() {
    std::string registry = "REGEDIT4\\r\\n\\r\\n";
    while (registry.size() < (std::size_t{16} << 20))
        registry += "[HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Bench\\\\Key" + std::to_string(registry.size()) +
                    "]\\r\\n\\\"Text\\\"=\\\"some value text of moderate length\\\"\\r\\n";
    std::string files;
    for (int i = 0; i < 20000; ++i)
        files += (i == 0 ? "" : ",") + std::string("\"C:\\\\DATA\\\\FILE") + std::to_string(i) +
                 ".INI\":{\"text\":\"[section]\\r\\nkey=" + std::string(600, 'v') +
                 "\\r\\n\",\"modified\":\"2005-12-07T14:10:00\",\"attributes\":[\"hidden\"]}";
    std::string parameters;
    for (int action = 1; action <= 50; ++action)
        parameters +=
            (action == 1 ? "\"" : ",\"") + std::to_string(0x1000 + action) + "\":[" + repeated("255", 500) + "]";
    return "{\"computer_name\":\"BENCH\",\"registry\":\"" + registry + "\",\"files\":{" + files +
           "},\"display\":{\"parameters\":{" + parameters + "}}}";
}

double peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadLargeDescription(benchmark::State& state) {
    const std::string text = largeDescription();
    for (auto _ : state) benchmark::DoNotOptimize(sim::parseMachineDescription(text, "bench.json", "."));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["file_MB"] = static_cast<double>(text.size()) / (1 << 20);
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_ReadLargeDescription)->Unit(benchmark::kMillisecond);

// n files that hold nothing: members of one object, all within the limits.
void BM_ReadManyFiles(benchmark::State& state) {
    std::string files;
    for (int64_t i = 0; i < state.range(0); ++i)
        files += (i == 0 ? R"("C:\\F)" : R"(,"C:\\F)") + std::to_string(i) + "\":{}";
    const std::string text = "{\"files\":{" + files + "}}";
    for (auto _ : state) benchmark::DoNotOptimize(sim::parseMachineDescription(text, "bench.json", "."));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadManyFiles)->Arg(6000)->Arg(60000)->Unit(benchmark::kMillisecond);

std::string bomb(int kind, std::size_t n) {
    switch (kind) {
        case 0: return "{\"drives\":[" + repeated("{}", n) + "]}";
        case 1: {
            std::string members;
            for (std::size_t i = 0; i < n; ++i)
                members += (i == 0 ? "\"C:\\\\F" : ",\"C:\\\\F") + std::to_string(i) + "\":{}";
            return "{\"files\":{" + members + "}}";
        }
        case 2: return "{\"midi_devices\":[" + repeated("0", n) + "]}";
        default: return "{\"midi_devices\":" + std::string(n, '[') + std::string(n, ']') + "}";
    }
}

// Args: kind (0 objects in an array, 1 objects as members, 2 numbers,
// 3 brackets), count.
void BM_RefuseBomb(benchmark::State& state) {
    const std::string text = bomb(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)));
    for (auto _ : state) {
        try {
            sim::parseMachineDescription(text, "bomb.json", ".");
            state.SkipWithError("a bomb was accepted");
            break;
        } catch (const MachineDescriptionError&) {
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["file_MB"] = static_cast<double>(text.size()) / (1 << 20);
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_RefuseBomb)
    ->Args({0, 400000})
    ->Args({1, 400000})
    ->Args({2, 30000000})
    ->Args({3, 1000000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace si32

BENCHMARK_MAIN();
