#include "platform/host/registry/host_registry_facts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/host/common/host_read.h"
#include "platform/host/machine/host_facts.h"
#include "platform/host/machine/host_passwd.h"
#include "platform/host/registry/host_registry.h"
#include "platform/input_file.h"
#include "platform/terminal_text.h"

namespace si32 {
namespace {

// A file typed badly throughout would otherwise bury the terminal.
constexpr std::size_t kSkippedLinesShown = 20;

constexpr std::string_view kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kSystem = "HARDWARE\\DESCRIPTION\\System";
constexpr std::string_view kProcessor = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr std::string_view kMsInfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// Dedicated system-information programs, best first. Task managers and
// settings panels are left out: they are not what the button promises, and
// the path must start the tool without arguments.
constexpr std::string_view kInformationTools[] = {"hardinfo2", "hardinfo", "kinfocenter", "cpu-x", "lshw-gtk", "i-nex"};

void addText(std::vector<LiveRegistryValue>& values, std::string_view key, std::string_view name,
             const std::optional<std::string>& text) {
    if (text && !text->empty()) values.push_back({std::string(key), std::string(name), REG_SZ, *text, 0});
}

std::optional<std::string> joined(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    const std::string first = a.value_or(""), second = b.value_or("");
    if (first.empty() || second.empty()) return first.empty() ? second : first;
    return first + " " + second;
}

// What an s390's firmware says of the machine and of the hypervisor the
// system runs under: "IBM 8561 T01 LPAR LP01", "IBM 3931 A01 under z/VM 7.3.0".
std::optional<std::string> s390MachineName(const std::string& root) {
    const auto sysinfo = readUnderRoot(root, "/proc/sysinfo");
    if (!sysinfo) return std::nullopt;
    const ColonFields fields = parseColonFields(*sysinfo);
    const auto get = [&](const char* key) {
        const auto it = fields.find(key);
        return it == fields.end() ? std::string() : it->second;
    };
    const auto words = [](std::string_view text) {
        std::string out;
        for (std::string_view rest = text; !rest.empty();) {
            const size_t start = rest.find_first_not_of(" \t");
            if (start == std::string_view::npos) break;
            rest.remove_prefix(start);
            const size_t end = rest.find_first_of(" \t");
            out += (out.empty() ? "" : " ") + std::string(rest.substr(0, end));
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        }
        return out;
    };
    // "Model: 716   T01": the capacity setting, then the model.
    const std::string model = words(get("Model"));
    std::string name = words(get("Manufacturer") + " " + get("Type") + " " + model.substr(model.rfind(' ') + 1));
    if (name.empty()) return std::nullopt;
    if (const std::string vm = words(get("VM00 Control Program")); !vm.empty()) name += " under " + vm;
    else if (const std::string lpar = words(get("LPAR Name")); !lpar.empty()) name += " LPAR " + lpar;
    return name;
}

// The machine's maker and model: firmware tables on PCs and servers, the
// device tree on boards, the s390's firmware, what cpuinfo says of the
// machine. A PC without firmware tables (a VM, a container) is still a PC,
// and Windows names every PC "AT/AT COMPATIBLE". The processor's values are
// read only where the machine has a name, so a machine whose processor is
// known is never left without one: the kernel's name of its hardware stands
// in last.
std::optional<std::string> machineIdentifier(const std::string& root, const MachineFacts& machine) {
    auto identifier = joined(readLineUnderRoot(root, "/sys/class/dmi/id/sys_vendor"),
                             readLineUnderRoot(root, "/sys/class/dmi/id/product_name"));
    if (identifier && !identifier->empty()) return identifier;
    for (const char* model : {"/proc/device-tree/model", "/sys/firmware/devicetree/base/model"})
        if (auto text = readLineUnderRoot(root, model); text && !text->empty()) return text;
    const CpuArchitecture architecture = machine.kind.architecture;
    if (architecture == CpuArchitecture::X86 || architecture == CpuArchitecture::X86_64) return "AT/AT COMPATIBLE";
    if (architecture == CpuArchitecture::S390)
        if (auto name = s390MachineName(root)) return name;
    const CpuDescription& cpu = machine.cpu;
    if (!cpu.machineModel.empty()) return cpu.machineModel;
    if (!cpu.vendorIdentifier.empty() || !cpu.processorNameString.empty() || !cpu.identifier.empty())
        return machine.machine;
    return std::nullopt;
}

// The video BIOS version where the graphics driver publishes it (amdgpu).
std::optional<std::string> videoBiosVersion(const std::string& root) {
    for (const std::string& card : listUnderRoot(root, "/sys/class/drm"))
        if (card.find('-') == std::string::npos)
            if (auto version = readLineUnderRoot(root, "/sys/class/drm/" + card + "/device/vbios_version");
                version && !version->empty())
                return version;
    return std::nullopt;
}

}  // namespace

std::string operatingSystemName(std::string_view osRelease) {
    auto fields = parseShellAssignments(osRelease);
    if (!fields["PRETTY_NAME"].empty()) return fields["PRETTY_NAME"];
    const std::string name = fields["NAME"].empty() ? "Linux" : fields["NAME"];
    return fields["VERSION"].empty() ? name : name + " " + fields["VERSION"];
}

std::optional<std::string> systemInformationTool(const std::string& root, std::string_view searchPath,
                                                 MountGuard& mounts) {
    for (std::string_view tool : kInformationTools) {
        std::string_view rest = searchPath;
        while (true) {
            const size_t colon = rest.find(':');
            const std::string_view dir = rest.substr(0, colon);
            if (!dir.empty() && dir.front() == '/') {
                const std::string path = std::string(dir) + "/" + std::string(tool);
                if (mounts.IsExecutableFile(underRoot(root, path))) return path;
            }
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
    }
    return std::nullopt;
}

std::vector<LiveRegistryValue> liveRegistryValues(const LiveRegistrySources& sources) {
    const std::string& root = sources.root;
    std::vector<LiveRegistryValue> values;

    auto osRelease = readUnderRoot(root, "/etc/os-release");
    if (!osRelease) osRelease = readUnderRoot(root, "/usr/lib/os-release");
    addText(values, kCurrentVersion, "ProductName", operatingSystemName(osRelease.value_or("")));
    addText(values, kCurrentVersion, "VersionNumber", sources.release);
    if (const auto user = lookUpUser(root, sources.uid))
        addText(values, kCurrentVersion, "RegisteredOwner", fullNameOf(*user));
    // Linux records no organisation; a prefix may set one.
    values.push_back({std::string(kCurrentVersion), "RegisteredOrganization", REG_SZ, "", 0});

    addText(values, kSystem, "Identifier", machineIdentifier(root, sources.machine));
    addText(values, kSystem, "SystemBiosDate", readLineUnderRoot(root, "/sys/class/dmi/id/bios_date"));
    addText(values, kSystem, "SystemBiosVersion", readLineUnderRoot(root, "/sys/class/dmi/id/bios_version"));
    addText(values, kSystem, "VideoBiosVersion", videoBiosVersion(root));

    const CpuDescription& cpu = sources.machine.cpu;
    addText(values, kProcessor, "ProcessorNameString", cpu.processorNameString);
    addText(values, kProcessor, "VendorIdentifier", cpu.vendorIdentifier);
    addText(values, kProcessor, "Identifier", cpu.identifier);
    if (const auto mhz = sources.machine.mhz) values.push_back({std::string(kProcessor), "~Mhz", REG_DWORD, "", *mhz});

    addText(values, kMsInfo, "PATH", systemInformationTool(root, sources.searchPath, *sources.mounts));
    return values;
}

RegistryStore buildHostRegistry(const HostContext& context, const MachineFacts& machine) {
    LiveRegistrySources sources;
    sources.root = context.root;
    sources.machine = machine;
    sources.release = kernelRelease(context.root).value_or("");
    sources.uid = static_cast<uint32_t>(::geteuid());
    sources.searchPath = context.environment.Get("PATH");
    sources.mounts = context.mounts;

    RegistryStore store;
    if (char host[256] = {}; ::gethostname(host, sizeof host - 1) == 0) store.SetComputerName(host);
    for (const LiveRegistryValue& value : liveRegistryValues(sources)) {
        if (value.type == REG_DWORD) store.SetDword(HKEY_LOCAL_MACHINE, value.key, value.name, value.dword);
        else store.SetString(HKEY_LOCAL_MACHINE, value.key, value.name, value.text);
    }
    const std::string userFile = context.prefix + "/registry.reg";
    // The live registry stands whatever the file holds; the user learns
    // which of their settings were not applied, and why. A file on a mount
    // that does not answer is read under the deadline.
    const std::optional<InputFile> read =
        context.mounts->Run<InputFile>(userFile, [userFile] { return ReadInputFile(userFile); });
    if (!read) {
        PrintErrorLine("si32: " + userFile + ": its mount did not answer in time");
        return store;
    }
    const InputFile& file = *read;
    if (!file.text) {
        if (!file.missing) PrintErrorLine("si32: " + userFile + ": " + file.refusal);
        return store;
    }
    try {
        const std::vector<SkippedLine> skipped = store.ImportRegistryFile(*file.text, userFile);
        for (std::size_t i = 0; i < skipped.size() && i < kSkippedLinesShown; ++i)
            PrintErrorLine("si32: " + skipped[i].message + " (line skipped)");
        if (skipped.size() > kSkippedLinesShown)
            PrintErrorLine("si32: " + userFile + ": " + std::to_string(skipped.size() - kSkippedLinesShown) +
                           " more lines skipped");
    } catch (const RegistryParseError& error) {
        PrintErrorLine(std::string("si32: ") + error.what());
    }
    return store;
}

}  // namespace si32
