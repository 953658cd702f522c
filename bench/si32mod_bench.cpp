// Targets: loading a registry of 10,000 values (about 400 KB of REGEDIT4)
// under 20 ms; the last key of a 1 MB INI file under 5 ms; the whole system
// descriptor of a simulated machine under 1 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/engine/ini_reader.h"
#include "platform/engine/registry_store.h"
#include "platform/sim/sim_machine.h"
#include "si32mod/si32mod.h"

namespace si32 {
namespace {

std::string bigRegistry(int keys, int valuesPerKey) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (int k = 0; k < keys; ++k) {
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench\\Key" + std::to_string(k) + "]\r\n";
        for (int v = 0; v < valuesPerKey; ++v) {
            text += "\"Text" + std::to_string(v) + "\"=\"some value text of moderate length\"\r\n";
            text += "\"Number" + std::to_string(v) + "\"=dword:000001f4\r\n";
        }
    }
    return text;
}

void BM_LoadRegedit4(benchmark::State& state) {
    const std::string text = bigRegistry(1000, 5);
    for (auto _ : state) {
        RegistryStore store;
        store.LoadRegedit4(text, "bench");
        benchmark::DoNotOptimize(store);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadRegedit4)->Unit(benchmark::kMillisecond);

void BM_IniLastKeyOfLargeFile(benchmark::State& state) {
    std::string text;
    for (int s = 0; text.size() < (1u << 20); ++s) {
        text += "[section" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            text += "key" + std::to_string(k) + " = value number " + std::to_string(k) + "\r\n";
    }
    text += "[target]\r\nwanted=found\r\n";
    char buffer[255];
    for (auto _ : state)
        benchmark::DoNotOptimize(GetPrivateProfileStringFromText(text, "target", "wanted", "", buffer));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IniLastKeyOfLargeFile)->Unit(benchmark::kMillisecond);

class QuietFrontend : public Frontend {
public:
    int32_t ShowMessage(std::string_view, int32_t, std::string_view) override { return IDOK; }
    void SetBusyPointer(bool) override {}
    std::optional<ScreenFacts> Screen() override { return std::nullopt; }
};

void BM_ReadSystemDescriptor(benchmark::State& state) {
    const std::string json =
        R"({"registry": "REGEDIT4\n[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System]\n\"Identifier\"=\"PC\"\n[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0]\n\"~Mhz\"=dword:00000df1\n"})";
    QuietFrontend frontend;
    SimMachine machine(SimMachine::Text{json, "bench.json", "."}, frontend);
    for (auto _ : state) {
        Si32Mod mod(machine.platform());
        mod.ConnectRegistry("");
        mod.ReadSystemDescriptor();
        benchmark::DoNotOptimize(mod.ProcessorDescriptor.Mhz);
    }
}
BENCHMARK(BM_ReadSystemDescriptor)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace si32

BENCHMARK_MAIN();
