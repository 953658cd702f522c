// Names for the MIDR fields of ARM processors, as the kernel reports them in
// /proc/cpuinfo ("CPU implementer", "CPU part"): the implementer codes ARM
// assigns and the part numbers each implementer publishes for its cores.
#include <cstdint>
#include <string_view>

#include "platform/host/machine/host_cpu.h"

namespace si32 {
namespace {

struct Implementer {
    uint32_t code;
    std::string_view name;
    std::string_view shortName;  // what an unnamed part is called after
};

constexpr Implementer implementers[] = {
    {0x41, "ARM Limited", "ARM"},
    {0x42, "Broadcom Corporation", "Broadcom"},
    {0x43, "Cavium Inc.", "Cavium"},
    {0x44, "Digital Equipment", "DEC"},
    {0x46, "Fujitsu Ltd.", "Fujitsu"},
    {0x48, "HiSilicon", "HiSilicon"},
    {0x49, "Infineon Technologies", "Infineon"},
    {0x4d, "Motorola", "Motorola"},
    {0x4e, "NVIDIA Corporation", "NVIDIA"},
    {0x50, "Applied Micro", "APM"},
    {0x51, "Qualcomm Technologies", "Qualcomm"},
    {0x53, "Samsung", "Samsung"},
    {0x56, "Marvell", "Marvell"},
    {0x61, "Apple Inc.", "Apple"},
    {0x66, "Faraday", "Faraday"},
    {0x69, "Intel Corporation", "Intel"},
    {0x6d, "Microsoft Corporation", "Microsoft"},
    {0x70, "Phytium", "Phytium"},
    {0xc0, "Ampere Computing", "Ampere"},
};

constexpr int kEfficiency = 0, kPerformance = 1, kPrime = 2;

struct Part {
    uint32_t implementer;
    uint32_t part;
    std::string_view name;
    int size = kPerformance;
};

constexpr Part parts[] = {
    // ARM's own cores: classic, Cortex-A, Cortex-R, Cortex-X and Neoverse.
    {0x41, 0x926, "ARM926"},
    {0x41, 0x946, "ARM946"},
    {0x41, 0x966, "ARM966"},
    {0x41, 0xb02, "ARM11 MPCore"},
    {0x41, 0xb36, "ARM1136"},
    {0x41, 0xb56, "ARM1156"},
    {0x41, 0xb76, "ARM1176"},
    {0x41, 0xc05, "Cortex-A5", kEfficiency},
    {0x41, 0xc07, "Cortex-A7", kEfficiency},
    {0x41, 0xc08, "Cortex-A8"},
    {0x41, 0xc09, "Cortex-A9"},
    {0x41, 0xc0d, "Cortex-A12"},
    {0x41, 0xc0e, "Cortex-A17"},
    {0x41, 0xc0f, "Cortex-A15"},
    {0x41, 0xc14, "Cortex-R4"},
    {0x41, 0xc15, "Cortex-R5"},
    {0x41, 0xc17, "Cortex-R7"},
    {0x41, 0xc18, "Cortex-R8"},
    {0x41, 0xd01, "Cortex-A32", kEfficiency},
    {0x41, 0xd02, "Cortex-A34", kEfficiency},
    {0x41, 0xd03, "Cortex-A53", kEfficiency},
    {0x41, 0xd04, "Cortex-A35", kEfficiency},
    {0x41, 0xd05, "Cortex-A55", kEfficiency},
    {0x41, 0xd06, "Cortex-A65"},
    {0x41, 0xd07, "Cortex-A57"},
    {0x41, 0xd08, "Cortex-A72"},
    {0x41, 0xd09, "Cortex-A73"},
    {0x41, 0xd0a, "Cortex-A75"},
    {0x41, 0xd0b, "Cortex-A76"},
    {0x41, 0xd0c, "Neoverse-N1"},
    {0x41, 0xd0d, "Cortex-A77"},
    {0x41, 0xd0e, "Cortex-A76AE"},
    {0x41, 0xd13, "Cortex-R52"},
    {0x41, 0xd15, "Cortex-R82"},
    {0x41, 0xd40, "Neoverse-V1"},
    {0x41, 0xd41, "Cortex-A78"},
    {0x41, 0xd42, "Cortex-A78AE"},
    {0x41, 0xd43, "Cortex-A65AE"},
    {0x41, 0xd44, "Cortex-X1", kPrime},
    {0x41, 0xd46, "Cortex-A510", kEfficiency},
    {0x41, 0xd47, "Cortex-A710"},
    {0x41, 0xd48, "Cortex-X2", kPrime},
    {0x41, 0xd49, "Neoverse-N2"},
    {0x41, 0xd4a, "Neoverse-E1"},
    {0x41, 0xd4b, "Cortex-A78C"},
    {0x41, 0xd4c, "Cortex-X1C", kPrime},
    {0x41, 0xd4d, "Cortex-A715"},
    {0x41, 0xd4e, "Cortex-X3", kPrime},
    {0x41, 0xd4f, "Neoverse-V2"},
    {0x41, 0xd80, "Cortex-A520", kEfficiency},
    {0x41, 0xd81, "Cortex-A720"},
    {0x41, 0xd82, "Cortex-X4", kPrime},
    {0x41, 0xd84, "Neoverse-V3"},
    {0x41, 0xd85, "Cortex-X925", kPrime},
    {0x41, 0xd87, "Cortex-A725"},
    {0x41, 0xd8e, "Neoverse-N3"},
    // Broadcom.
    {0x42, 0x00f, "Brahma-B15"},
    {0x42, 0x100, "Brahma-B53"},
    {0x42, 0x516, "Vulcan"},
    // Cavium.
    {0x43, 0x0a0, "ThunderX"},
    {0x43, 0x0a1, "ThunderX 88XX"},
    {0x43, 0x0a2, "ThunderX 81XX"},
    {0x43, 0x0a3, "ThunderX 83XX"},
    {0x43, 0x0af, "ThunderX2 99xx"},
    {0x43, 0x0b8, "ThunderX3"},
    // Digital Equipment.
    {0x44, 0xa10, "SA110"},
    {0x44, 0xa11, "SA1100"},
    // Fujitsu.
    {0x46, 0x001, "A64FX"},
    // HiSilicon.
    {0x48, 0xd01, "TaiShan-v110"},
    {0x48, 0xd02, "TaiShan-v120"},
    {0x48, 0xd40, "Cortex-A76"},
    {0x48, 0xd41, "Cortex-A77"},
    // NVIDIA.
    {0x4e, 0x000, "Denver"},
    {0x4e, 0x003, "Denver 2"},
    {0x4e, 0x004, "Carmel"},
    // Applied Micro.
    {0x50, 0x000, "X-Gene"},
    // Qualcomm.
    {0x51, 0x00f, "Scorpion"},
    {0x51, 0x02d, "Scorpion"},
    {0x51, 0x04d, "Krait"},
    {0x51, 0x06f, "Krait"},
    {0x51, 0x201, "Kryo"},
    {0x51, 0x205, "Kryo"},
    {0x51, 0x211, "Kryo"},
    {0x51, 0x800, "Kryo 2xx Gold"},
    {0x51, 0x801, "Kryo 2xx Silver", kEfficiency},
    {0x51, 0x802, "Kryo 3xx Gold"},
    {0x51, 0x803, "Kryo 3xx Silver", kEfficiency},
    {0x51, 0x804, "Kryo 4xx Gold"},
    {0x51, 0x805, "Kryo 4xx Silver", kEfficiency},
    {0x51, 0xc00, "Falkor"},
    {0x51, 0xc01, "Saphira"},
    {0x51, 0x001, "Oryon"},
    // Samsung.
    {0x53, 0x001, "Exynos-M1"},
    {0x53, 0x002, "Exynos-M3"},
    {0x53, 0x003, "Exynos-M4"},
    {0x53, 0x004, "Exynos-M5"},
    // Marvell.
    {0x56, 0x131, "Feroceon 88FR131"},
    {0x56, 0x581, "PJ4/PJ4b"},
    {0x56, 0x584, "PJ4B-MP"},
    // Apple.
    {0x61, 0x022, "M1 Icestorm", kEfficiency},
    {0x61, 0x023, "M1 Firestorm"},
    {0x61, 0x024, "M1 Pro Icestorm", kEfficiency},
    {0x61, 0x025, "M1 Pro Firestorm"},
    {0x61, 0x028, "M1 Max Icestorm", kEfficiency},
    {0x61, 0x029, "M1 Max Firestorm"},
    {0x61, 0x032, "M2 Blizzard", kEfficiency},
    {0x61, 0x033, "M2 Avalanche"},
    {0x61, 0x034, "M2 Pro Blizzard", kEfficiency},
    {0x61, 0x035, "M2 Pro Avalanche"},
    {0x61, 0x038, "M2 Max Blizzard", kEfficiency},
    {0x61, 0x039, "M2 Max Avalanche"},
    // Faraday.
    {0x66, 0x526, "FA526"},
    {0x66, 0x626, "FA626"},
    // Intel's ARM cores.
    {0x69, 0x200, "i80200"},
    {0x69, 0x210, "PXA250A"},
    {0x69, 0x212, "PXA210A"},
    {0x69, 0x242, "i80321-400"},
    {0x69, 0x243, "i80321-600"},
    {0x69, 0x290, "PXA250B/PXA26x"},
    {0x69, 0x292, "PXA210B"},
    {0x69, 0x2c2, "i80321-400-B0"},
    {0x69, 0x2c3, "i80321-600-B0"},
    {0x69, 0x2d0, "PXA250C/PXA255/PXA26x"},
    {0x69, 0x2d2, "PXA210C"},
    {0x69, 0x411, "PXA27x"},
    {0x69, 0x41c, "IPX425-533"},
    {0x69, 0x41d, "IPX425-400"},
    {0x69, 0x41f, "IPX425-266"},
    {0x69, 0x682, "PXA32x"},
    {0x69, 0x683, "PXA930/PXA935"},
    {0x69, 0x688, "PXA30x"},
    {0x69, 0x689, "PXA31x"},
    {0x69, 0xb11, "SA1110"},
    {0x69, 0xc12, "IPX1200"},
    // Microsoft.
    {0x6d, 0xd49, "Azure-Cobalt-100"},
    // Phytium.
    {0x70, 0x303, "FTC310"},
    {0x70, 0x660, "FTC660"},
    {0x70, 0x661, "FTC661"},
    {0x70, 0x662, "FTC662"},
    {0x70, 0x663, "FTC663"},
    {0x70, 0x664, "FTC664"},
    {0x70, 0x862, "FTC862"},
    // Ampere.
    {0xc0, 0xac3, "Ampere-1"},
    {0xc0, 0xac4, "Ampere-1a"},
};

const Implementer* implementerOf(uint32_t code) {
    for (const Implementer& row : implementers)
        if (row.code == code) return &row;
    return nullptr;
}

}  // namespace

std::string_view armImplementerName(uint32_t implementer) {
    const Implementer* row = implementerOf(implementer);
    return row == nullptr ? std::string_view() : row->name;
}

std::string_view armImplementerShortName(uint32_t implementer) {
    const Implementer* row = implementerOf(implementer);
    return row == nullptr ? std::string_view() : row->shortName;
}

ArmCore armCore(uint32_t implementer, uint32_t part) {
    for (const Part& row : parts)
        if (row.implementer == implementer && row.part == part) return {row.name, row.size};
    return {};
}

uint32_t armCoreArchitecture(uint32_t implementer, uint32_t part) {
    // ARM numbers its ARM11 cores 0xbxx. Older cores carry the old ID
    // scheme, whose architecture the kernel prints as it is ("5TEJ").
    return implementer == 0x41 && (part >> 8) == 0xb ? 6 : 0;
}

}  // namespace si32
