#pragma once
// The main window's design: every control with its design-time properties.
#include <span>

#include "window/control.h"

namespace si32 {

inline constexpr const char* kWindowCaption = "Tarvello System Information";
inline constexpr int32_t kClientWidthTwips = 9480;
inline constexpr int32_t kClientHeightTwips = 8280;

// The members of the three label arrays, named by what they show; the
// numbers are the designer's. Label2 holds the facts, Label3 the second half
// of a size pair, Label1 the row captions (only those a step hides are named).
namespace label2 {
enum : int32_t {
    OperatingSystem = 0,
    WindowsVersion = 1,
    BuildNumber = 2,
    ComputerName = 3,
    CurrentUser = 4,
    WindowsDirectory = 5,
    SystemDirectory = 6,
    TempDirectory = 7,
    ProcessorType = 8,
    ProcessorCount = 9,
    TotalSpace = 10,
    BytesPerSector = 11,
    SectorsPerCluster = 12,
    AvailableSpace = 13,
    DosVersion = 14,
    VideoResolution = 15,
    NumberOfColors = 16,
    DriveType = 17,
    ProductDirectory = 18,
    Country = 19,
    CdAudioDriver = 20,
    DisplayAdapter = 21,
    SystemType = 22,
    Keyboard = 23,
    Mouse = 24,
    TaskbarSettings = 25,
    ComputerOwner = 26,
    PhysicalMemory = 27,
    WaveDevices = 28,
    MidiDevices = 29,
    ProductVersion = 30,
};
}  // namespace label2
namespace label3 {
enum : int32_t { TotalSpaceSecondary = 0, AvailableSpaceSecondary = 1, PhysicalMemorySecondary = 2 };
}  // namespace label3
namespace label1 {
enum : int32_t { NumberOfColorsCaption = 15, DefaultPrinterCaption = 32 };
}  // namespace label1

// The 90 controls of si9x, in the order the designer wrote them.
std::span<const Control> si9xLayout();

}  // namespace si32
