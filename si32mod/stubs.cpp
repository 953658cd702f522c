// Placeholders until the query routines land.
#include "si32mod/si32mod.h"

namespace si32 {

std::string Si32Mod::GetRegString(HKEY, std::string_view, std::string_view) { return {}; }
std::string Si32Mod::ReadRegValue(std::string_view, std::string_view) { return {}; }
bool Si32Mod::QueryRegValue(HKEY, std::string_view, std::string_view, std::string& value) {
    value.clear();
    return false;
}
int32_t Si32Mod::ConnectRegistry(std::string_view) { return 1; }
std::string Si32Mod::GetRegisteredOwner() { return {}; }
std::string Si32Mod::GetWindowsProductName() { return {}; }
std::string Si32Mod::GetCpuIdentifier() { return {}; }
std::string Si32Mod::GetDefaultPrinter() { return {}; }
void Si32Mod::ReadSystemDescriptor() {}
int16_t Si32Mod::ListMidiDevices(Si9x&) { return 0; }
std::string Si32Mod::GetIniString(std::string_view, std::string_view, std::string_view) { return "unknown"; }
double Si32Mod::GetColorCount(HDC) { return 0; }
std::string Si32Mod::GetMachineName() { return {}; }
void Si32Mod::Command2_Click() {}
void Si32Mod::LaunchMsInfo() {}

}  // namespace si32
