// Named, empty steps until the fact collection lands.
#include "facts/environment.h"
#include "facts/hardware.h"
#include "facts/memory.h"
#include "facts/operating_system.h"

namespace si32 {

void QueryVersion(StepContext&) {}
void ShowOperatingSystem(StepContext&) {}
void ShowDosVersion(StepContext&) {}
void ShowBuildNumber(StepContext&) {}
void RecognizeWindows98(StepContext&) {}
void ShowRegistryProductName(StepContext&) {}
void RecognizeWindowsXP(StepContext&) {}
void ReadDirectories(StepContext&) {}
void EnterSystemDirectory(StepContext&) {}
void ReadTrvwinIni(StepContext&) {}
void SelectStartDrive(StepContext&) {}
void ShowDirectories(StepContext&) {}
void ShowProductDir(StepContext&) {}
void ShowComputerName(StepContext&) {}
void ShowCurrentUser(StepContext&) {}
void ShowOwner(StepContext&) {}
void ShowTaskbarSettings(StepContext&) {}
void ShowCdAudioAndCountry(StepContext&) {}
void ShowProductVersion(StepContext&) {}
void ShowVideoResolution(StepContext&) {}
void ShowColors(StepContext&) {}
void ShowWaveDevices(StepContext&) {}
void ShowMidiDevices(StepContext&) {}
void ShowDrivers(StepContext&) {}
void ShowSystemType(StepContext&) {}
void ReadProcessorFacts(StepContext&) {}
void ShowProcessorType(StepContext&) {}
void ShowDefaultPrinter(StepContext&) {}
void ShowProcessorCount(StepContext&) {}
void QueryMemoryStatus(StepContext&) {}
void ShowMeters(StepContext&) {}
void ShowPhysicalMemory(StepContext&) {}

}  // namespace si32
