// Names for the MIDR fields of ARM processors, as the kernel reports them in
// /proc/cpuinfo ("CPU implementer", "CPU part").
#include <cstdint>
#include <string_view>

#include "platform/host/registry/host_cpu.h"

namespace si32 {
namespace {

struct Implementer {
    uint32_t code;
    std::string_view name;
};

constexpr Implementer implementers[] = {
    {0x41, "ARM Limited"},
    {0x42, "Broadcom Corporation"},
    {0x43, "Cavium Inc."},
    {0x44, "Digital Equipment"},
    {0x46, "Fujitsu Ltd."},
    {0x48, "HiSilicon"},
    {0x4e, "NVIDIA Corporation"},
    {0x50, "Applied Micro"},
    {0x51, "Qualcomm Technologies"},
    {0x53, "Samsung"},
    {0x56, "Marvell"},
    {0x61, "Apple Inc."},
    {0x66, "Faraday"},
    {0x69, "Intel Corporation"},
    {0x6d, "Microsoft Corporation"},
    {0x70, "Phytium"},
    {0xc0, "Ampere Computing"},
};

struct Part {
    uint32_t implementer;
    uint32_t part;
    std::string_view name;
};

constexpr Part parts[] = {
    {0x41, 0xb02, "ARM11 MPCore"},    {0x41, 0xb36, "ARM1136"},         {0x41, 0xb76, "ARM1176"},
    {0x41, 0xc05, "Cortex-A5"},       {0x41, 0xc07, "Cortex-A7"},       {0x41, 0xc08, "Cortex-A8"},
    {0x41, 0xc09, "Cortex-A9"},       {0x41, 0xc0d, "Cortex-A12"},      {0x41, 0xc0e, "Cortex-A17"},
    {0x41, 0xc0f, "Cortex-A15"},      {0x41, 0xd01, "Cortex-A32"},      {0x41, 0xd03, "Cortex-A53"},
    {0x41, 0xd04, "Cortex-A35"},      {0x41, 0xd05, "Cortex-A55"},      {0x41, 0xd06, "Cortex-A65"},
    {0x41, 0xd07, "Cortex-A57"},      {0x41, 0xd08, "Cortex-A72"},      {0x41, 0xd09, "Cortex-A73"},
    {0x41, 0xd0a, "Cortex-A75"},      {0x41, 0xd0b, "Cortex-A76"},      {0x41, 0xd0c, "Neoverse-N1"},
    {0x41, 0xd0d, "Cortex-A77"},      {0x41, 0xd0e, "Cortex-A76AE"},    {0x41, 0xd40, "Neoverse-V1"},
    {0x41, 0xd41, "Cortex-A78"},      {0x41, 0xd42, "Cortex-A78AE"},    {0x41, 0xd44, "Cortex-X1"},
    {0x41, 0xd46, "Cortex-A510"},     {0x41, 0xd47, "Cortex-A710"},     {0x41, 0xd48, "Cortex-X2"},
    {0x41, 0xd49, "Neoverse-N2"},     {0x41, 0xd4a, "Neoverse-E1"},     {0x41, 0xd4b, "Cortex-A78C"},
    {0x41, 0xd4d, "Cortex-A715"},     {0x41, 0xd4e, "Cortex-X3"},       {0x41, 0xd4f, "Neoverse-V2"},
    {0x41, 0xd80, "Cortex-A520"},     {0x41, 0xd81, "Cortex-A720"},     {0x41, 0xd82, "Cortex-X4"},
    {0x42, 0x00f, "Brahma-B15"},      {0x42, 0x100, "Brahma-B53"},      {0x42, 0x516, "ThunderX2"},
    {0x43, 0x0a1, "ThunderX"},        {0x43, 0x0af, "ThunderX2"},       {0x46, 0x001, "A64FX"},
    {0x48, 0xd01, "Kunpeng-920"},     {0x4e, 0x004, "Carmel"},          {0x50, 0x000, "X-Gene"},
    {0x51, 0x800, "Kryo 2xx Gold"},   {0x51, 0x801, "Kryo 2xx Silver"}, {0x51, 0x802, "Kryo 3xx Gold"},
    {0x51, 0x803, "Kryo 3xx Silver"}, {0x51, 0x804, "Kryo 4xx Gold"},   {0x51, 0x805, "Kryo 4xx Silver"},
    {0x51, 0xc00, "Falkor"},          {0x61, 0x022, "M1 Icestorm"},     {0x61, 0x023, "M1 Firestorm"},
    {0x61, 0x032, "M2 Blizzard"},     {0x61, 0x033, "M2 Avalanche"},    {0xc0, 0xac3, "Ampere-1"},
};

}  // namespace

std::string_view armImplementerName(uint32_t implementer) {
    for (const Implementer& row : implementers)
        if (row.code == implementer) return row.name;
    return {};
}

std::string_view armPartName(uint32_t implementer, uint32_t part) {
    for (const Part& row : parts)
        if (row.implementer == implementer && row.part == part) return row.name;
    return {};
}

}  // namespace si32
