#include "platform/host/machine/host_cpu.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/host/common/host_read.h"

namespace si32 {
namespace {

// Each processor's block, and every block's fields together (the first
// processor's value of a key wins; shared fields may stand in a block of
// their own before or after the processors).
struct CpuInfo {
    std::vector<ColonFields> blocks;
    ColonFields fields;

    std::string operator[](const std::string& key) const {
        const auto it = fields.find(key);
        return it == fields.end() ? std::string() : it->second;
    }
};

std::string fieldOf(const ColonFields& fields, const std::string& key) {
    const auto it = fields.find(key);
    return it == fields.end() ? std::string() : it->second;
}

std::optional<uint32_t> number(const std::string& text) { return parseNumber<uint32_t>(text); }

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The leading decimal number of a text ("5TEJ" -> 5, "2900.000000MHz" ->
// 2900.0).
std::optional<double> leadingDecimal(std::string_view text, std::string_view* rest = nullptr) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    if (rest != nullptr) *rest = text.substr(static_cast<size_t>(end - text.data()));
    return value;
}

// A clock a kernel prints in MHz ("2894.562", "2900.000000MHz").
std::optional<uint32_t> statedMhzOf(const std::string& text) {
    const auto mhz = leadingDecimal(text);
    if (!mhz || *mhz < 1 || *mhz >= 1e6) return std::nullopt;
    return static_cast<uint32_t>(std::lround(*mhz));
}

std::string hex(uint64_t value, const char* format = "%llX") {
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<unsigned long long>(value));
    return text;
}

// The first of the names whose prefix the text starts with.
struct Maker {
    std::string_view prefix;
    std::string_view name;
};
template <std::size_t N>
std::string makerOf(std::string_view text, const Maker (&makers)[N]) {
    for (const Maker& maker : makers)
        if (startsWith(text, maker.prefix)) return std::string(maker.name);
    return {};
}

CpuDescription describeX86(const CpuInfo& info, bool sixtyFour) {
    CpuDescription cpu;
    cpu.vendorIdentifier = info["vendor_id"];
    cpu.processorNameString = info["model name"];
    cpu.statedMhz = statedMhzOf(info["cpu MHz"]);
    const auto family = number(info["cpu family"]);
    const auto model = number(info["model"]);
    const auto stepping = number(info["stepping"]);
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

// One kind of core of an ARM machine, and the first processor that has it.
struct ArmKind {
    uint32_t implementer = 0, part = 0;
    std::optional<uint32_t> firstCpu;
    uint64_t size = 0;
};

std::optional<uint64_t> sysfsNumber(const std::string& root, const std::string& path) {
    if (root.empty()) return std::nullopt;
    const auto text = readLineUnderRoot(root, path);
    return text ? parseNumber<uint64_t>(*text) : std::nullopt;
}

// Biggest first: the scheduler's capacity of each kind where the kernel
// publishes it, else the highest clock its driver allows, else what the core
// is built to be. Kinds of one size keep the kernel's order.
void sortBiggestFirst(std::vector<ArmKind>& kinds, const std::string& root) {
    if (kinds.size() < 2) return;
    const auto sizedBy = [&](const char* file) {
        std::vector<uint64_t> sizes;
        for (const ArmKind& kind : kinds) {
            if (!kind.firstCpu) return false;
            const auto size =
                sysfsNumber(root, "/sys/devices/system/cpu/cpu" + std::to_string(*kind.firstCpu) + "/" + file);
            if (!size) return false;
            sizes.push_back(*size);
        }
        for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i].size = sizes[i];
        return true;
    };
    if (!sizedBy("cpu_capacity") && !sizedBy("cpufreq/cpuinfo_max_freq"))
        for (ArmKind& kind : kinds) kind.size = static_cast<uint64_t>(armCore(kind.implementer, kind.part).size);
    std::stable_sort(kinds.begin(), kinds.end(), [](const ArmKind& a, const ArmKind& b) { return a.size > b.size; });
}

std::string armCoreName(uint32_t implementer, uint32_t part) {
    if (const ArmCore core = armCore(implementer, part); !core.name.empty()) return std::string(core.name);
    const std::string_view maker = armImplementerShortName(implementer);
    return (maker.empty() ? "Implementer 0x" + hex(implementer, "%02x") : std::string(maker)) + " part 0x" +
           hex(part, "%03x");
}

// Each kind of core once, in the kernel's order; first: the first block that
// names its core.
std::vector<ArmKind> armKinds(const CpuInfo& info, const ColonFields*& first) {
    std::vector<ArmKind> kinds;
    first = nullptr;
    for (const ColonFields& block : info.blocks) {
        const auto implementer = number(fieldOf(block, "CPU implementer"));
        const auto part = number(fieldOf(block, "CPU part"));
        if (!implementer || !part) continue;
        if (first == nullptr) first = &block;
        const bool known = std::any_of(kinds.begin(), kinds.end(), [&](const ArmKind& kind) {
            return kind.implementer == *implementer && kind.part == *part;
        });
        if (!known) kinds.push_back({*implementer, *part, number(fieldOf(block, "processor")), 0});
    }
    return kinds;
}

// "ARMv8 (64-bit) Family 8 Model D08 Revision 3". The kernel's architecture
// field is a number, "5TEJ" on old cores, or "AArch64" on the first 64-bit
// kernels.
void describeArmIdentifier(CpuDescription& cpu, const ArmKind& cpu0, const std::string& archText,
                           const std::string& revisionText, bool sixtyFour) {
    std::optional<double> arch = archText == "AArch64" ? std::optional<double>(8) : leadingDecimal(archText);
    if (const uint32_t own = armCoreArchitecture(cpu0.implementer, cpu0.part); own != 0) arch = own;
    const auto revision = number(revisionText);
    if (!arch || *arch < 1 || *arch >= 100 || !revision) return;
    const auto level = static_cast<uint32_t>(*arch);
    cpu.identifier = "ARMv" + std::to_string(level) + (sixtyFour ? " (64-bit)" : " (32-bit)") + " Family " +
                     std::to_string(level) + " Model " + hex(cpu0.part) + " Revision " + std::to_string(*revision);
    cpu.level = static_cast<uint16_t>(level);
    cpu.revision = static_cast<uint16_t>(*revision);
}

CpuDescription describeArm(const CpuInfo& info, bool sixtyFour, const std::string& root) {
    CpuDescription cpu;
    const ColonFields* first = nullptr;
    std::vector<ArmKind> kinds = armKinds(info, first);
    // Old kernels name the machine in "Hardware"; the Raspberry Pi's name it
    // in "Model".
    cpu.machineModel = info["Model"].empty() ? info["Hardware"] : info["Model"];
    const auto value = [&](const std::string& key) {
        const std::string own = first != nullptr ? fieldOf(*first, key) : std::string();
        return own.empty() ? info[key] : own;
    };
    if (const auto implementer = number(value("CPU implementer"))) {
        const std::string_view name = armImplementerName(*implementer);
        cpu.vendorIdentifier = name.empty() ? "Implementer 0x" + hex(*implementer, "%02x") : std::string(name);
    }
    if (kinds.empty()) {
        // Without a part number only the kernel's own name is left: "model
        // name", or "Processor" before Linux 3.8.
        cpu.processorNameString = info["model name"].empty() ? info["Processor"] : info["model name"];
        return cpu;
    }
    const ArmKind cpu0 = kinds.front();
    sortBiggestFirst(kinds, root);
    for (const ArmKind& kind : kinds) {
        if (!cpu.processorNameString.empty()) cpu.processorNameString += " + ";
        cpu.processorNameString += armCoreName(kind.implementer, kind.part);
    }
    describeArmIdentifier(cpu, cpu0, value("CPU architecture"), value("CPU revision"), sixtyFour);
    return cpu;
}

// RISC-V: the JEDEC maker code the hart reports (mvendorid), else the maker
// of the core's device-tree name ("sifive,u74-mc").
CpuDescription describeRiscV(const CpuInfo& info) {
    static constexpr struct {
        uint64_t mvendorid;
        std::string_view dtPrefix, name;
    } kMakers[] = {
        {0x127, "mips", "MIPS"},    {0x31e, "andestech", "Andes Technology"}, {0x489, "sifive", "SiFive"},
        {0x5b7, "thead", "T-Head"}, {0x710, "spacemit", "SpacemiT"},
    };
    CpuDescription cpu;
    const std::string uarch = info["uarch"];
    const auto mvendorid = parseNumber<uint64_t>(info["mvendorid"]);
    for (const auto& maker : kMakers)
        if ((mvendorid && *mvendorid == maker.mvendorid) ||
            (!mvendorid && startsWith(uarch, std::string(maker.dtPrefix) + ",")))
            cpu.vendorIdentifier = std::string(maker.name);
    if (cpu.vendorIdentifier.empty() && mvendorid && *mvendorid != 0)
        cpu.vendorIdentifier = "mvendorid " + info["mvendorid"];
    // The base ISA without its extensions: "rv64imafdc_zicsr_..." -> "rv64imafdc".
    const std::string isa = info["isa"].substr(0, info["isa"].find('_'));
    cpu.processorNameString = !uarch.empty() ? uarch : isa.empty() ? std::string() : "RISC-V " + isa;
    cpu.identifier = isa;
    for (const char* key : {"mvendorid", "marchid", "mimpid"})
        if (const std::string id = info[key]; !id.empty())
            cpu.identifier += (cpu.identifier.empty() ? "" : " ") + std::string(key) + " " + id;
    return cpu;
}

CpuDescription describePower(const CpuInfo& info) {
    static constexpr Maker kMakers[] = {
        {"POWER", "IBM"},       {"PPC970", "IBM"},      {"Cell", "IBM"},
        {"PPC4", "IBM"},        {"e300", "Freescale"},  {"e500", "Freescale"},
        {"e5500", "Freescale"}, {"e6500", "Freescale"}, {"PA6T", "P.A. Semi"},
    };
    CpuDescription cpu;
    cpu.processorNameString = info["cpu"];
    cpu.vendorIdentifier = makerOf(cpu.processorNameString, kMakers);
    cpu.statedMhz = statedMhzOf(info["clock"]);
    cpu.machineModel = info["model"].empty() ? info["machine"] : info["model"];
    // "2.2 (pvr 004e 1202)": the processor version register's two halves.
    const std::string revision = info["revision"];
    if (!revision.empty()) cpu.identifier = "PowerPC revision " + revision;
    const size_t pvr = revision.find("(pvr ");
    if (pvr != std::string::npos) {
        unsigned version = 0, rev = 0;
        if (std::sscanf(revision.c_str() + pvr, "(pvr %x %x)", &version, &rev) == 2) {
            cpu.level = static_cast<uint16_t>(version);
            cpu.revision = static_cast<uint16_t>(rev);
        }
    }
    return cpu;
}

// IBM's machine types, as the processors of an s390 report them.
std::string_view s390MachineName(std::string_view type) {
    static constexpr struct {
        std::string_view type, name;
    } kMachines[] = {
        {"2064", "z900"},    {"2066", "z800"},    {"2084", "z990"},    {"2086", "z890"},    {"2094", "z9 EC"},
        {"2096", "z9 BC"},   {"2097", "z10 EC"},  {"2098", "z10 BC"},  {"2817", "z196"},    {"2818", "z114"},
        {"2827", "zEC12"},   {"2828", "zBC12"},   {"2964", "z13"},     {"2965", "z13s"},    {"3906", "z14"},
        {"3907", "z14 ZR1"}, {"8561", "z15 T01"}, {"8562", "z15 T02"}, {"3931", "z16 A01"}, {"3932", "z16 A02"},
        {"9175", "z17"},
    };
    for (const auto& machine : kMachines)
        if (machine.type == type) return machine.name;
    return {};
}

// "version = FF,  identification = 0133E8,  machine = 8561" -> "8561" for "machine".
std::string assignedWord(std::string_view text, std::string_view name) {
    const std::string key = std::string(name) + " = ";
    const size_t at = text.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view rest = text.substr(at + key.size());
    return std::string(rest.substr(0, rest.find_first_of(", ")));
}

CpuDescription describeS390(const CpuInfo& info) {
    CpuDescription cpu;
    cpu.vendorIdentifier = info["vendor_id"];
    const std::string processor0 = info["processor 0"];
    const std::string machine = assignedWord(processor0, "machine");
    const std::string version = assignedWord(processor0, "version");
    if (!machine.empty()) {
        const std::string_view name = s390MachineName(machine);
        cpu.processorNameString = name.empty() ? "IBM machine " + machine : "IBM " + std::string(name);
        cpu.identifier = "S/390 Machine " + machine + (version.empty() ? "" : " Version " + version);
        cpu.machineModel = "IBM " + machine;
    }
    // Newer kernels state the clock in the blocks after the shared fields.
    cpu.statedMhz = statedMhzOf(info["cpu MHz static"]);
    return cpu;
}

CpuDescription describeLoongArch(const CpuInfo& info) {
    CpuDescription cpu;
    cpu.processorNameString = info["Model Name"];
    const std::string family = info["CPU Family"];
    if (startsWith(cpu.processorNameString, "Loongson") || startsWith(family, "Loongson"))
        cpu.vendorIdentifier = "Loongson";
    if (!family.empty())
        cpu.identifier = family + (info["CPU Revision"].empty() ? "" : " Revision " + info["CPU Revision"]);
    cpu.statedMhz = statedMhzOf(info["CPU MHz"]);
    cpu.machineModel = info["system type"];
    return cpu;
}

CpuDescription describeMips(const CpuInfo& info) {
    static constexpr Maker kMakers[] = {
        {"MIPS ", "MIPS Technologies"}, {"Broadcom", "Broadcom"},     {"Cavium", "Cavium"},
        {"Ingenic", "Ingenic"},         {"ICT Loongson", "Loongson"}, {"Loongson", "Loongson"},
        {"Netlogic", "NetLogic"},       {"RMI", "NetLogic"},          {"Lexra", "Lexra"},
    };
    CpuDescription cpu;
    cpu.processorNameString = info["cpu model"];
    cpu.vendorIdentifier = makerOf(cpu.processorNameString, kMakers);
    // The highest ISA level the core implements is the last one listed.
    const std::string isa = info["isa"];
    if (const size_t last = isa.find_last_of(' '); !isa.empty())
        cpu.identifier = last == std::string::npos ? isa : isa.substr(last + 1);
    cpu.machineModel = info["machine"].empty() ? info["system type"] : info["machine"];
    return cpu;
}

CpuDescription describeSparc(const CpuInfo& info) {
    static constexpr Maker kMakers[] = {
        {"UltraSparc", "Sun Microsystems"},
        {"SPARC64", "Fujitsu"},
        {"SPARC-", "Oracle"},
        {"Leon", "Gaisler"},
        {"LEON", "Gaisler"},
    };
    CpuDescription cpu;
    cpu.processorNameString = info["cpu"];
    std::string_view core = cpu.processorNameString;
    if (startsWith(core, "TI ")) core.remove_prefix(3);  // made by Texas Instruments to Sun's design
    cpu.vendorIdentifier = makerOf(core, kMakers);
    const std::string type = info["type"];
    if (!type.empty()) cpu.identifier = "SPARC " + type;
    cpu.machineModel = type;
    // The first processor's clock, in Hz as 16 hexadecimal digits.
    for (const auto& [key, value] : info.fields)
        if (startsWith(key, "Cpu") && key.size() > 9 && key.substr(key.size() - 6) == "ClkTck") {
            const auto hz = parseNumber<uint64_t>("0x" + value);
            if (hz && *hz >= 500000 && *hz < 1'000'000'000'000ull) {
                cpu.statedMhz = static_cast<uint32_t>((*hz + 500000) / 1000000);
                if (key == "Cpu0ClkTck") break;
            }
        }
    return cpu;
}

CpuDescription describeIa64(const CpuInfo& info) {
    CpuDescription cpu;
    cpu.vendorIdentifier = info["vendor"];
    cpu.processorNameString = info["model name"];
    const std::string family = info["family"], model = info["model"], revision = info["revision"];
    // Kernels before 2.6.20 wrote the family as a word ("Itanium 2").
    if (cpu.processorNameString.empty() && !family.empty() && !number(family)) cpu.processorNameString = family;
    if (!family.empty() && !model.empty())
        cpu.identifier =
            "ia64 Family " + family + " Model " + model + (revision.empty() ? "" : " Stepping " + revision);
    cpu.statedMhz = statedMhzOf(info["cpu MHz"]);
    if (const auto level = number(family)) cpu.level = static_cast<uint16_t>(*level);
    const auto m = number(model), r = number(revision);
    if (m && r) cpu.revision = static_cast<uint16_t>(((*m & 0xFF) << 8) | (*r & 0xFF));
    return cpu;
}

// "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz" -> 3200.
std::optional<uint32_t> ratedMhz(std::string_view modelName) {
    const size_t at = modelName.rfind('@');
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view unitText;
    const auto value = leadingDecimal(trimBlanks(modelName.substr(at + 1)), &unitText);
    if (!value || *value <= 0 || *value >= 1e6) return std::nullopt;
    const std::string unit = lowerAscii(trimBlanks(unitText));
    if (unit == "ghz") return static_cast<uint32_t>(std::lround(*value * 1000));
    if (unit == "mhz") return static_cast<uint32_t>(std::lround(*value));
    return std::nullopt;
}

std::optional<uint32_t> khzAsMhz(std::optional<uint64_t> khz) {
    if (!khz || *khz == 0 || *khz >= 1'000'000'000ull) return std::nullopt;
    return static_cast<uint32_t>((*khz + 500) / 1000);
}

std::optional<uint32_t> cpu0Mhz(const std::string& root, const char* name) {
    return khzAsMhz(sysfsNumber(root, std::string("/sys/devices/system/cpu/cpu0/cpufreq/") + name));
}

// The highest rate any frequency policy allows: on a machine with several
// kinds of core, processor 0 is often the smallest.
std::optional<uint32_t> highestMhz(const std::string& root) {
    std::optional<uint32_t> highest;
    for (const std::string& policy : listUnderRoot(root, "/sys/devices/system/cpu/cpufreq"))
        if (startsWith(policy, "policy"))
            if (const auto mhz =
                    khzAsMhz(sysfsNumber(root, "/sys/devices/system/cpu/cpufreq/" + policy + "/cpuinfo_max_freq"));
                mhz && (!highest || *mhz > *highest))
                highest = mhz;
    return highest ? highest : cpu0Mhz(root, "cpuinfo_max_freq");
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
            if (hz >= 500000 && hz < 1'000'000'000'000ull) return static_cast<uint32_t>((hz + 500000) / 1000000);
        }
    return std::nullopt;
}

}  // namespace

CpuDescription describeCpu(std::string_view cpuinfo, CpuArchitecture architecture, const std::string& root) {
    CpuInfo info;
    info.blocks = parseColonBlocks(cpuinfo);
    for (const ColonFields& block : info.blocks)
        for (const auto& field : block) info.fields.insert(field);
    using A = CpuArchitecture;
    switch (architecture) {
        case A::X86_64: return describeX86(info, true);
        case A::X86: return describeX86(info, false);
        case A::Arm64: return describeArm(info, true, root);
        case A::Arm: return describeArm(info, false, root);
        case A::RiscV: return describeRiscV(info);
        case A::Power: return describePower(info);
        case A::S390: return describeS390(info);
        case A::LoongArch: return describeLoongArch(info);
        case A::Mips: return describeMips(info);
        case A::Sparc: return describeSparc(info);
        case A::Ia64: return describeIa64(info);
        case A::Unknown: break;
    }
    // Elsewhere take what cpuinfo plainly names.
    CpuDescription cpu;
    cpu.vendorIdentifier = info["vendor_id"];
    cpu.processorNameString = info["model name"].empty() ? info["cpu"] : info["model name"];
    cpu.statedMhz = statedMhzOf(info["cpu MHz"]);
    return cpu;
}

std::optional<uint32_t> nominalMhz(const std::string& root, const CpuDescription& cpu) {
    if (const auto rated = ratedMhz(cpu.processorNameString)) return rated;
    for (const char* nominal : {"base_frequency", "amd_pstate_nominal_freq"})
        if (const auto mhz = cpu0Mhz(root, nominal)) return mhz;
    if (const auto highest = highestMhz(root)) return highest;
    if (cpu.statedMhz) return cpu.statedMhz;
    return deviceTreeMhz(root);
}

}  // namespace si32
