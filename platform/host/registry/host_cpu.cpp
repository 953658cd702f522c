#include "platform/host/registry/host_cpu.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

using Fields = std::map<std::string, std::string>;

std::string field(const Fields& fields, const std::string& key) {
    const auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

std::optional<uint32_t> number(const std::string& text) { return parseNumber<uint32_t>(text); }

CpuDescription describeX86(const Fields& fields, bool sixtyFour) {
    CpuDescription cpu;
    cpu.vendorIdentifier = field(fields, "vendor_id");
    cpu.processorNameString = field(fields, "model name");
    const auto family = number(field(fields, "cpu family"));
    const auto model = number(field(fields, "model"));
    const auto stepping = number(field(fields, "stepping"));
    if (family && model && stepping) {
        // Windows names the architecture after the maker's own name for it.
        const char* arch = !sixtyFour ? "x86" : cpu.vendorIdentifier == "GenuineIntel" ? "Intel64" : "AMD64";
        cpu.identifier = std::string(arch) + " Family " + std::to_string(*family) + " Model " + std::to_string(*model) +
                         " Stepping " + std::to_string(*stepping);
        cpu.level = static_cast<uint16_t>(*family);
        cpu.revision = static_cast<uint16_t>(((*model & 0xFF) << 8) | (*stepping & 0xFF));
    }
    return cpu;
}

CpuDescription describeArm(const Fields& fields, bool sixtyFour) {
    CpuDescription cpu;
    const auto implementer = number(field(fields, "CPU implementer"));
    const auto part = number(field(fields, "CPU part"));
    const auto architecture = number(field(fields, "CPU architecture"));
    const auto revision = number(field(fields, "CPU revision"));
    if (implementer) cpu.vendorIdentifier = std::string(armImplementerName(*implementer));
    // 32-bit kernels name the core themselves; 64-bit ones leave it to us.
    cpu.processorNameString = field(fields, "model name");
    if (cpu.processorNameString.empty() && implementer && part)
        cpu.processorNameString = std::string(armPartName(*implementer, *part));
    if (architecture && part && revision) {
        char partHex[16];
        std::snprintf(partHex, sizeof partHex, "%X", *part);
        cpu.identifier = "ARMv" + std::to_string(*architecture) + (sixtyFour ? " (64-bit)" : " (32-bit)") + " Family " +
                         std::to_string(*architecture) + " Model " + partHex + " Revision " + std::to_string(*revision);
        cpu.level = static_cast<uint16_t>(*architecture);
        cpu.revision = static_cast<uint16_t>(*revision);
    }
    return cpu;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz" -> 3200.
std::optional<uint32_t> ratedMhz(std::string_view modelName) {
    const size_t at = modelName.rfind('@');
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view rest = trimBlanks(modelName.substr(at + 1));
    double value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error != std::errc() || value <= 0) return std::nullopt;
    const std::string unit = lowerAscii(trimBlanks(rest.substr(static_cast<size_t>(end - rest.data()))));
    if (unit == "ghz") return static_cast<uint32_t>(std::lround(value * 1000));
    if (unit == "mhz") return static_cast<uint32_t>(std::lround(value));
    return std::nullopt;
}

std::optional<uint32_t> sysfsMhz(const std::string& root, std::string_view name) {
    const auto text = readLineUnderRoot(root, std::string("/sys/devices/system/cpu/cpu0/cpufreq/") + std::string(name));
    if (!text) return std::nullopt;
    const auto khz = number(*text);
    if (!khz || *khz == 0) return std::nullopt;
    return (*khz + 500) / 1000;
}

// The first processor node's "clock-frequency" in the device tree: a
// big-endian cell of 32 bits, or two cells for 64, in Hz.
std::optional<uint32_t> deviceTreeMhz(const std::string& root) {
    for (const char* base : {"/proc/device-tree/cpus", "/sys/firmware/devicetree/base/cpus"})
        for (const std::string& node : listUnderRoot(root, base)) {
            if (!startsWith(node, "cpu@")) continue;
            const auto cells = readUnderRoot(root, std::string(base) + "/" + node + "/clock-frequency");
            if (!cells || (cells->size() != 4 && cells->size() != 8)) continue;
            uint64_t hz = 0;
            for (const char byte : *cells) hz = (hz << 8) | static_cast<unsigned char>(byte);
            if (hz >= 500000) return static_cast<uint32_t>((hz + 500000) / 1000000);
        }
    return std::nullopt;
}

}  // namespace

CpuDescription describeCpu(std::string_view cpuinfo, std::string_view machine) {
    const Fields fields = parseColonFields(cpuinfo);
    if (startsWith(machine, "x86_64") || startsWith(machine, "amd64")) return describeX86(fields, true);
    if (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86") return describeX86(fields, false);
    if (startsWith(machine, "aarch64") || startsWith(machine, "arm64")) return describeArm(fields, true);
    if (startsWith(machine, "arm")) return describeArm(fields, false);
    // Elsewhere cpuinfo has no common layout; take what it plainly names.
    CpuDescription cpu;
    cpu.vendorIdentifier = field(fields, "vendor_id");
    cpu.processorNameString = field(fields, "model name");
    if (cpu.processorNameString.empty()) cpu.processorNameString = field(fields, "cpu");
    if (cpu.processorNameString.empty()) cpu.processorNameString = field(fields, "uarch");
    return cpu;
}

std::optional<uint32_t> nominalMhz(const std::string& root, std::string_view cpuinfo) {
    if (const auto base = sysfsMhz(root, "base_frequency")) return base;
    const Fields fields = parseColonFields(cpuinfo);
    if (const auto rated = ratedMhz(field(fields, "model name"))) return rated;
    if (const auto highest = sysfsMhz(root, "cpuinfo_max_freq")) return highest;
    const std::string seen = field(fields, "cpu MHz");
    double mhz = 0;
    const auto [end, error] = std::from_chars(seen.data(), seen.data() + seen.size(), mhz);
    (void)end;
    if (error == std::errc() && mhz >= 1 && mhz < 1e6) return static_cast<uint32_t>(std::lround(mhz));
    return deviceTreeMhz(root);
}

}  // namespace si32
