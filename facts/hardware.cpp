#include "facts/hardware.h"

#include <cmath>
#include <string>
#include <string_view>

#include "facts/texts.h"
#include "format/format_value.h"
#include "platform/checked.h"
#include "platform/guarded.h"
#include "platform/kernel.h"
#include "si32mod/si32mod.h"
#include "window/layout.h"
#include "window/si9x.h"

namespace si32 {
namespace {

// The keyboard row is narrower than its description usually is.
constexpr std::size_t kKeyboardCharacters = 20;
constexpr uint32_t kPentiumType = 586;
constexpr const char* kPcSystemType = "X86-based PC";

// "" for an architecture that has no name here: a wrong name would be worse.
std::string_view systemTypeOf(uint16_t architecture) {
    switch (architecture) {
        case PROCESSOR_ARCHITECTURE_INTEL:
        case PROCESSOR_ARCHITECTURE_AMD64: return kPcSystemType;
        case PROCESSOR_ARCHITECTURE_ARM: return "ARM-based PC";
        case PROCESSOR_ARCHITECTURE_ARM64: return "ARM64-based PC";
        case PROCESSOR_ARCHITECTURE_IA64: return "Itanium-based PC";
        case PROCESSOR_ARCHITECTURE_MIPS: return "MIPS-based PC";
        case PROCESSOR_ARCHITECTURE_PPC: return "PowerPC-based PC";
        case PROCESSOR_ARCHITECTURE_ALPHA: return "Alpha-based PC";
        case PROCESSOR_ARCHITECTURE_SHX: return "SuperH-based PC";
        case PROCESSOR_ARCHITECTURE_RISCV: return "RISC-V-based PC";
        case PROCESSOR_ARCHITECTURE_LOONGARCH: return "LoongArch-based PC";
        case PROCESSOR_ARCHITECTURE_SPARC: return "SPARC-based PC";
        case PROCESSOR_ARCHITECTURE_S390: return "S/390-based PC";
        default: return {};
    }
}

// The language's integer division: both operands rounded to whole numbers
// (halves to even) first, then the quotient truncated.
int32_t integerDivide(double dividend, double divisor) {
    const auto a = checkedCast<int32_t>(std::nearbyint(dividend));
    const auto b = checkedCast<int32_t>(std::nearbyint(divisor));
    return checkedDiv32(a, b);
}

std::string iniDriver(StepContext& ctx, std::string_view key) {
    return ctx.mod.GetIniString("boot.description", key, "system.ini");
}

}  // namespace

void ShowVideoResolution(StepContext& ctx) {
    guarded([&] {
        const ScreenTwips screen = ctx.platform.ui.Screen();
        ctx.form.Label2(label2::VideoResolution).text =
            PlainDecimal(integerDivide(screen.width, screen.twipsPerPixelX)) + " x " +
            PlainDecimal(integerDivide(screen.height, screen.twipsPerPixelY));
    });
}

void ShowColors(StepContext& ctx) {
    auto& field = ctx.form.Label2(label2::NumberOfColors);
    guarded([&] {
        field.text = FormatValue(ctx.platform.regional, ctx.mod.GetColorCount(ctx.platform.ui.GetWindowDC()), "#,###");
    });
    if (TrimSpaces(field.text).empty()) ctx.form.Label1(label1::NumberOfColorsCaption).visible = false;
}

void ShowWaveDevices(StepContext& ctx) {
    guarded([&] {
        ctx.form.Label2(label2::WaveDevices).text =
            PlainDecimal(static_cast<int32_t>(ctx.platform.multimedia.waveOutGetNumDevs()));
    });
}

void ShowMidiDevices(StepContext& ctx) {
    guarded([&] { ctx.form.Label2(label2::MidiDevices).text = PlainDecimal(ctx.mod.ListMidiDevices(ctx.form)); });
}

void ShowDrivers(StepContext& ctx) {
    guarded([&] {
        ctx.form.Label2(label2::Keyboard).text = LeftCharacters(iniDriver(ctx, "keyboard.typ"), kKeyboardCharacters);
    });
    guarded([&] { ctx.form.Label2(label2::DisplayAdapter).text = iniDriver(ctx, "display.drv"); });
    guarded([&] { ctx.form.Label2(label2::Mouse).text = iniDriver(ctx, "mouse.drv"); });
}

void ShowSystemType(StepContext& ctx) {
    auto& field = ctx.form.Label2(label2::SystemType);
    // Every Windows the program knows runs on a PC as it names one; only a
    // platform that is not Windows has its processor's architecture named.
    if (!ctx.values.VersionOk || ctx.values.Version.dwPlatformId != VER_PLATFORM_LINUX) {
        field.text = kPcSystemType;
        return;
    }
    guarded([&] {
        SystemInfo info;
        ctx.platform.kernel.GetSystemInfo(info);
        field.text = std::string(systemTypeOf(info.wProcessorArchitecture));
    });
}

void ReadProcessorFacts(StepContext& ctx) {
    guarded([&] { ctx.platform.kernel.GetSystemInfo(ctx.values.Processor); });
    std::string machine;
    guarded([&] { machine = ctx.mod.GetMachineName(); });
    // The registry connection must stand before the descriptor is read
    // through it; its result is not otherwise used.
    guarded([&] { ctx.mod.ConnectRegistry(machine); });
    guarded([&] { ctx.mod.ReadSystemDescriptor(); });
}

void ShowProcessorType(StepContext& ctx) {
    const auto& cpu = ctx.mod.ProcessorDescriptor;
    auto& field = ctx.form.Label2(label2::ProcessorType);
    const std::string vendor = TrimSpaces(cpu.VendorIdentifier);
    const std::string name = TrimSpaces(cpu.ProcessorNameString);
    // The clock keeps its blanks: the registry text stands as it was read.
    const std::string composed = vendor + "  " + name + "  " + TrimSpaces(cpu.Identifier) + "  " + cpu.Mhz + "MHz" +
                                 "  " + TrimSpaces(ctx.mod.SystemDescriptor.Identifier);
    if (!vendor.empty() && !name.empty()) {
        field.text = composed;
        return;
    }
    guarded([&] { field.text = TrimSpaces(ctx.mod.GetCpuIdentifier()); });
    if (!TrimSpaces(field.text).empty()) return;
    const uint32_t type = ctx.values.Processor.dwProcessorType;
    field.text = type == kPentiumType ? "Pentium" : PlainDecimal(static_cast<int32_t>(type));
}

void ShowDefaultPrinter(StepContext& ctx) {
    guarded([&] { ctx.form.control("Label7").text = TrimSpaces(ctx.mod.GetDefaultPrinter()); });
    if (TrimSpaces(ctx.form.control("Label7").text).empty())
        ctx.form.Label1(label1::DefaultPrinterCaption).visible = false;
}

void ShowProcessorCount(StepContext& ctx) {
    ctx.form.Label2(label2::ProcessorCount).text =
        PlainDecimal(static_cast<int32_t>(ctx.values.Processor.dwNumberOfProcessors));
}

}  // namespace si32
