// The main window's controls, transcribed once from the design. Each row:
// name, index, kind, container, design text, left, top, width, height, tab
// index, alignment, auto-size, word-wrap.
#include "window/layout.h"

#include <array>
#include <string_view>

namespace si32 {
namespace {

using K = ControlKind;
constexpr Align L = Align::Left;
constexpr Align R = Align::Right;

Control c(const char* name, int32_t index, K kind, const char* container, const char* text, int32_t left, int32_t top,
          int32_t width, int32_t height, int32_t tab, Align align = L, bool autoSize = false, bool wordWrap = false) {
    Control ctl;
    ctl.name = name;
    ctl.index = index;
    ctl.kind = kind;
    ctl.container = container;
    ctl.text = text;
    ctl.geometry = {left, top, width, height};
    ctl.tabIndex = tab;
    ctl.alignment = align;
    ctl.autoSize = autoSize;
    ctl.wordWrap = wordWrap;
    return ctl;
}

// Row captions of the two left frames, and their value fields.
Control cap1(int32_t i, const char* text, int32_t top, int32_t tab) {
    return c("Label1", i, K::Label, "", text, 120, top, 1632, 252, tab, R);
}
Control cap2(int32_t i, const char* text, int32_t top, int32_t tab) {
    return c("Label1", i, K::Label, "SSFrame2", text, 204, top, 1716, 252, tab, R);
}
Control val(const char* frame, int32_t i, int32_t top, int32_t width, int32_t tab, const char* text = "",
            int32_t height = 192, bool wordWrap = false) {
    const int32_t left = std::string_view(frame) == "SSFrame2" ? 2076 : 1920;
    return c("Label2", i, K::Label, frame, text, left, top, width, height, tab, L, false, wordWrap);
}
Control in(Control ctl, const char* frame) {
    ctl.container = frame;
    return ctl;
}

// The design is data, written as one table however long it grows.
// NOLINTNEXTLINE(readability-function-size)
const std::array<Control, 90>& table() {
    static const std::array<Control, 90> rows = {
        c("SSFrame1", -1, K::Frame, "", "Operating System Info", 120, 48, 4572, 4284, 5),
        c("SSFrame3", -1, K::Frame, "", "Drive Info", 120, 4356, 4572, 3816, 36),
        c("SSFrame2", -1, K::Frame, "", "Hardware/Memory Info", 4800, 48, 4572, 8124, 0),

        // "Operating System Info"
        in(cap1(0, "Operating System:", 324, 6), "SSFrame1"),
        val("SSFrame1", label2::OperatingSystem, 324, 2604, 9),
        in(cap1(1, "Windows Version:", 564, 7), "SSFrame1"),
        val("SSFrame1", label2::WindowsVersion, 564, 2604, 10),
        in(cap1(2, "Build Number:", 804, 8), "SSFrame1"),
        val("SSFrame1", label2::BuildNumber, 804, 2604, 11),
        in(cap1(16, "DOS Version:", 1044, 24), "SSFrame1"),
        val("SSFrame1", label2::DosVersion, 1044, 2604, 25),
        in(cap1(3, "Computer Name:", 1284, 13), "SSFrame1"),
        val("SSFrame1", label2::ComputerName, 1284, 2604, 12),
        in(cap1(4, "Current User:", 1524, 15), "SSFrame1"),
        val("SSFrame1", label2::CurrentUser, 1524, 2604, 14),
        in(cap1(33, "Computer Owner:", 1764, 80), "SSFrame1"),
        val("SSFrame1", label2::ComputerOwner, 1764, 2604, 81),
        in(cap1(5, "Windows Directory:", 2004, 16), "SSFrame1"),
        val("SSFrame1", label2::WindowsDirectory, 2004, 2604, 17),
        in(cap1(6, "System Directory:", 2244, 18), "SSFrame1"),
        val("SSFrame1", label2::SystemDirectory, 2244, 2604, 19),
        in(cap1(7, "Temp Directory:", 2484, 20), "SSFrame1"),
        val("SSFrame1", label2::TempDirectory, 2484, 2604, 21),
        in(cap1(20, "Country:", 2724, 50), "SSFrame1"),
        val("SSFrame1", label2::Country, 2724, 2604, 52),
        in(cap1(21, "CDAudio Driver:", 2964, 51), "SSFrame1"),
        val("SSFrame1", label2::CdAudioDriver, 2964, 2604, 53),
        in(cap1(18, "Tarvello Directory:", 3204, 34), "SSFrame1"),
        val("SSFrame1", label2::ProductDirectory, 3204, 2604, 35),
        in(cap1(26, "Taskbar Settings:", 3444, 63), "SSFrame1"),
        val("SSFrame1", label2::TaskbarSettings, 3444, 2604, 64, "", 480, true),
        in(cap1(36, "Tarvello Version:", 3924, 89), "SSFrame1"),
        val("SSFrame1", label2::ProductVersion, 3924, 2604, 88, "2005.20"),

        // "Drive Info"
        c("Drive1", -1, K::DriveList, "SSFrame3", "", 580, 324, 3440, 288, 37),
        in(cap1(17, "Drive Type:", 684, 38), "SSFrame3"),
        val("SSFrame3", label2::DriveType, 684, 2052, 39),
        in(cap1(11, "Total Space:", 924, 40), "SSFrame3"),
        val("SSFrame3", label2::TotalSpace, 924, 1332, 41),
        c("Label3", label3::TotalSpaceSecondary, K::Label, "SSFrame3", "", 3240, 960, 972, 192, 42),
        in(cap1(10, "Bytes Per Sector:", 1164, 43), "SSFrame3"),
        val("SSFrame3", label2::BytesPerSector, 1164, 1692, 44),
        in(cap1(9, "Sectors Per Cluster:", 1404, 49), "SSFrame3"),
        val("SSFrame3", label2::SectorsPerCluster, 1404, 1212, 45),
        in(cap1(8, "Available Space:", 1644, 46), "SSFrame3"),
        val("SSFrame3", label2::AvailableSpace, 1644, 1332, 47),
        c("Label3", label3::AvailableSpaceSecondary, K::Label, "SSFrame3", "", 3240, 1680, 972, 192, 48),
        in(cap1(27, "File System:", 1884, 69), "SSFrame3"),
        c("lblFN", -1, K::Label, "SSFrame3", "", 1920, 1884, 2604, 252, 68),
        in(cap1(28, "Volume Name:", 2124, 70), "SSFrame3"),
        c("lblVolName", -1, K::Label, "SSFrame3", "", 1920, 2124, 2496, 252, 74),
        in(cap1(29, "Max Filename Length:", 2364, 71), "SSFrame3"),
        c("lblMaxFilenameLen", -1, K::Label, "SSFrame3", "", 1920, 2364, 2520, 252, 75),
        in(cap1(30, "Serial Number:", 2604, 72), "SSFrame3"),
        c("lblSerial", -1, K::Label, "SSFrame3", "", 1920, 2604, 2508, 252, 76),
        in(cap1(31, "Volume Flags:", 2844, 73), "SSFrame3"),
        c("lblVolFlags", -1, K::TextBox, "SSFrame3", "", 580, 3072, 3440, 648, 87),

        // "Hardware/Memory Info"
        cap2(12, "Processor Type:", 324, 1),
        val("SSFrame2", label2::ProcessorType, 324, 2196, 2, "", 1092, true),
        cap2(13, "Number of Processors:", 1392, 3),
        val("SSFrame2", label2::ProcessorCount, 1392, 2172, 4),
        cap2(22, "System Type:", 1632, 54),
        val("SSFrame2", label2::SystemType, 1632, 2172, 59),
        cap2(19, "Display Adapter:", 1872, 28),
        val("SSFrame2", label2::DisplayAdapter, 1872, 2172, 58, "", 384, true),
        cap2(14, "Video Resolution:", 2316, 22),
        val("SSFrame2", label2::VideoResolution, 2316, 2172, 26),
        c("Label1", label1::NumberOfColorsCaption, K::Label, "SSFrame2", "Number of Colors:", 204, 2556, 1716, 192, 23,
          R, true),
        val("SSFrame2", label2::NumberOfColors, 2556, 2172, 27),
        cap2(23, "Keyboard:", 2796, 55),
        val("SSFrame2", label2::Keyboard, 2796, 2352, 60),
        cap2(24, "Mouse:", 3036, 56),
        val("SSFrame2", label2::Mouse, 3036, 2172, 61),
        cap2(label1::DefaultPrinterCaption, "Default Printer:", 3276, 79),
        c("Label7", -1, K::Label, "SSFrame2", "", 2076, 3276, 2196, 252, 78, L, false, true),
        cap2(34, "Wave Playing Devices:", 3756, 83),
        val("SSFrame2", label2::WaveDevices, 3756, 2172, 82),
        cap2(35, "MIDI Devices:", 3996, 85),
        val("SSFrame2", label2::MidiDevices, 3996, 2172, 86),
        c("MidiDevs", -1, K::TextBox, "SSFrame2", "", 580, 4224, 3440, 1296, 84),
        c("Label6", -1, K::Label, "SSFrame2", "Physical Memory", 576, 5652, 1236, 204, 62, L, true),
        c("Label1", 25, K::Label, "SSFrame2", "available to Windows:", 240, 5844, 1692, 204, 57, R, true, true),
        val("SSFrame2", label2::PhysicalMemory, 5844, 1176, 29, "", 216),
        c("Label3", label3::PhysicalMemorySecondary, K::Label, "SSFrame2", "", 3240, 5844, 972, 192, 30),
        c("Label9", -1, K::Label, "SSFrame2", "Physical Memory", 576, 6096, 1236, 192, 31, L, true),
        c("ProgressBar3", -1, K::Meter, "SSFrame2", "", 576, 6276, 3444, 324, 65),
        c("Label4", -1, K::Label, "SSFrame2", "GDI Resources", 576, 6624, 1104, 192, 33, L, true),
        c("ProgressBar1", -1, K::Meter, "SSFrame2", "", 576, 6804, 3444, 324, 66),
        c("Label5", -1, K::Label, "SSFrame2", "User Resources", 576, 7152, 1176, 192, 32, L, true),
        c("ProgressBar2", -1, K::Meter, "SSFrame2", "", 576, 7332, 3444, 324, 67),
        c("Command2", -1, K::Button, "SSFrame2", "&MS System Info", 1632, 7716, 1320, 312, 77),
    };
    return rows;
}

}  // namespace

std::span<const Control> si9xLayout() { return table(); }

}  // namespace si32
