// The facts the start-up sequence takes from the registry: owner, product
// name, processor identifier, default printer, and the system and processor
// descriptors.
#include "format/format_value.h"
#include "platform/guarded.h"
#include "platform/text_helpers.h"
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

// A descriptor field and the value it is read from.
template <class Record>
struct Field {
    std::string Record::*field;
    const char* value;
};
using SD = SystemDescriptorRecord;
using PD = ProcessorDescriptorRecord;

// The reads of each key that follow one another without a condition, in
// their order.
constexpr Field<SD> kOsFields[] = {{&SD::CSDVersion, "CSDVersion"},
                                   {&SD::ProductID, "ProductID"},
                                   {&SD::RegisteredOwner, "RegisteredOwner"},
                                   {&SD::RegisteredOrganization, "RegisteredOrganization"}};
constexpr Field<SD> kFirmwareFields[] = {{&SD::SystemBiosDate, "SystemBiosDate"},
                                         {&SD::SystemBiosVersion, "SystemBiosVersion"},
                                         {&SD::VideoBiosDate, "VideoBiosDate"},
                                         {&SD::VideoBiosVersion, "VideoBiosVersion"}};
constexpr Field<PD> kProcessorFields[] = {{&PD::ProcessorNameString, "ProcessorNameString"},
                                          {&PD::VendorIdentifier, "VendorIdentifier"},
                                          {&PD::Identifier, "Identifier"}};

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
    if (trimSpaces(printer).empty()) printer = GetRegString(HKEY_CURRENT_USER, kUserPrinterKey, "Default");
    if (trimSpaces(printer).empty()) {
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
    const bool windowsLine =
        OsFamily == OperatingSystemFamily::Win32s || OsFamily == OperatingSystemFamily::WindowsLine;
    const std::string osKey = windowsLine ? kWindowsLineKey : kNtLineKey;
    SD& sd = SystemDescriptor;
    PD& pd = ProcessorDescriptor;

    guarded([&] { sd.ProductName = ReadRegValue(osKey, "ProductName"); });
    if (sd.ProductName.empty()) sd.ProductName = "Microsoft Windows NT";
    if (windowsLine) {
        guarded([&] { sd.Version = ReadRegValue(osKey, "VersionNumber"); });
    } else {
        guarded([&] { sd.Version = ReadRegValue(osKey, "CurrentVersion"); });
        guarded([&] { sd.BuildNumber = ReadRegValue(osKey, "CurrentBuildNumber"); });
    }
    for (const auto& f : kOsFields) guarded([&] { sd.*f.field = ReadRegValue(osKey, f.value); });

    guarded([&] { sd.Identifier = ReadRegValue(systemKey, "Identifier"); });
    if (sd.Identifier.empty()) return;
    for (const auto& f : kFirmwareFields) guarded([&] { sd.*f.field = ReadRegValue(systemKey, f.value); });
    for (const auto& f : kProcessorFields) guarded([&] { pd.*f.field = ReadRegValue(processorKey, f.value); });
    // The clock arrives as hexadecimal text; an empty or unreadable one
    // fails the conversion and leaves Mhz as it was.
    guarded([&] { pd.Mhz = PlainDecimal(mod::hexLiteralToInt32("&H" + ReadRegValue(processorKey, "~Mhz"))); });
}

}  // namespace si32
