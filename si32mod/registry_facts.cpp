// The facts the start-up sequence takes from the registry: owner, product
// name, processor identifier, default printer, and the system and processor
// descriptors.
#include "platform/guarded.h"
#include "format/format_value.h"
#include "si32mod/buffers.h"
#include "si32mod/hex_text.h"
#include "si32mod/si32mod.h"

namespace si32 {
namespace {

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kProcessorKey = "Hardware\\Description\\System\\CentralProcessor\\0";
constexpr const char* kWindowsLineKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtLineKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kSystemKey = "HARDWARE\\Description\\System";
constexpr const char* kPrinterConfigKey = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr const char* kUserPrinterKey = "Printers";

}  // namespace

std::string Si32Mod::GetRegisteredOwner() {
    return GetRegString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "RegisteredOwner");
}

std::string Si32Mod::GetWindowsProductName() {
    return GetRegString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProductName");
}

std::string Si32Mod::GetCpuIdentifier() { return GetRegString(HKEY_LOCAL_MACHINE, kProcessorKey, "Identifier"); }

std::string Si32Mod::GetDefaultPrinter() {
    std::string printer = GetRegString(HKEY_CURRENT_CONFIG, kPrinterConfigKey, "Default");
    if (mod::trimSpaces(printer).empty()) printer = GetRegString(HKEY_CURRENT_USER, kUserPrinterKey, "Default");
    if (mod::trimSpaces(printer).empty()) {
        // A printing service that names no printer leaves the text of the
        // user key, as a failing printer query would.
        guarded([&] {
            std::string name = platform_.printing.DefaultPrinter();
            if (!name.empty()) printer = name;
        });
    }
    return printer;
}

void Si32Mod::ReadSystemDescriptor() {
    const std::string systemKey = kSystemKey;
    const std::string processorKey = systemKey + "\\CentralProcessor\\0";
    const bool windowsLine = OsFamily <= 1;
    const std::string osKey = windowsLine ? kWindowsLineKey : kNtLineKey;
    SystemDescriptorRecord& sd = SystemDescriptor;
    ProcessorDescriptorRecord& pd = ProcessorDescriptor;

    guarded([&] { sd.ProductName = ReadRegValue(osKey, "ProductName"); });
    if (sd.ProductName.empty()) sd.ProductName = "Microsoft Windows NT";
    if (windowsLine) {
        guarded([&] { sd.Version = ReadRegValue(osKey, "VersionNumber"); });
    } else {
        guarded([&] { sd.Version = ReadRegValue(osKey, "CurrentVersion"); });
        guarded([&] { sd.BuildNumber = ReadRegValue(osKey, "CurrentBuildNumber"); });
    }
    guarded([&] { sd.CSDVersion = ReadRegValue(osKey, "CSDVersion"); });
    guarded([&] { sd.ProductID = ReadRegValue(osKey, "ProductID"); });
    guarded([&] { sd.RegisteredOwner = ReadRegValue(osKey, "RegisteredOwner"); });
    guarded([&] { sd.RegisteredOrganization = ReadRegValue(osKey, "RegisteredOrganization"); });

    guarded([&] { sd.Identifier = ReadRegValue(systemKey, "Identifier"); });
    if (sd.Identifier.empty()) return;
    guarded([&] { sd.SystemBiosDate = ReadRegValue(systemKey, "SystemBiosDate"); });
    guarded([&] { sd.SystemBiosVersion = ReadRegValue(systemKey, "SystemBiosVersion"); });
    guarded([&] { sd.VideoBiosDate = ReadRegValue(systemKey, "VideoBiosDate"); });
    guarded([&] { sd.VideoBiosVersion = ReadRegValue(systemKey, "VideoBiosVersion"); });

    guarded([&] { pd.ProcessorNameString = ReadRegValue(processorKey, "ProcessorNameString"); });
    guarded([&] { pd.VendorIdentifier = ReadRegValue(processorKey, "VendorIdentifier"); });
    guarded([&] { pd.Identifier = ReadRegValue(processorKey, "Identifier"); });
    // The clock arrives as hexadecimal text; an empty or unreadable one
    // fails the conversion and leaves Mhz as it was.
    guarded([&] { pd.Mhz = PlainDecimal(mod::hexLiteralToInt32("&H" + ReadRegValue(processorKey, "~Mhz"))); });
}

}  // namespace si32
