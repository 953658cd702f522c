#include "platform/capture/desktop_facts.h"

#include <cstddef>
#include <vector>

#include "platform/guarded.h"
#include "platform/sim/spi_table.h"
#include "platform/spi.h"

namespace si32::capture {
namespace {

// MAX_PATH: what a caller gives for the wallpaper's name.
constexpr uint32_t kWallpaperBuffer = 260;

}  // namespace

std::optional<std::vector<std::byte>> AskParameter(Ui& ui, uint32_t action) {
    const sim::RecordLayout* layout = sim::findRecordLayout(action);
    const bool wallpaper = action == SPI_GETDESKWALLPAPER;
    const uint32_t size = layout != nullptr ? layout->size : wallpaper ? kWallpaperBuffer : 4u;
    std::vector<std::byte> memory(size);
    // Records that start with their size want it stated twice.
    const bool sized = layout != nullptr && layout->sizeField;
    if (sized) spi_bytes::put32(memory, 0, static_cast<int32_t>(size));
    const uint32_t param = sized || wallpaper ? size : 0u;
    int32_t ok = 0;
    guarded([&] { ok = ui.SystemParametersInfoA(action, param, std::span<std::byte>(memory), 0); });
    if (ok == 0) return std::nullopt;
    return memory;
}

void AskDesktopFacts(Ui& ui, std::span<const DesktopQuestion> questions) {
    for (const DesktopQuestion& question : questions) {
        if (question.metric >= 0) guarded([&] { ui.GetSystemMetrics(question.metric); });
        if (question.getAction != 0) AskParameter(ui, question.getAction);
    }
    guarded([&] {
        const HDC dc = ui.CreateICA("DISPLAY", "", "");
        if (dc == 0) return;
        ui.GetDeviceCaps(dc, LOGPIXELSY);
        ui.DeleteDC(dc);
    });
}

}  // namespace si32::capture
