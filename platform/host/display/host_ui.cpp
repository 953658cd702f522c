#include "platform/host/display/host_ui.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "platform/host/common/host_read.h"
#include "platform/host/display/host_ui_metrics.h"
#include "platform/run_time_error.h"
#include "platform/terminal_text.h"

namespace si32 {
namespace {

// Handles only need to be distinct and non-zero.
constexpr HDC kWindowDc = 0x0100;
constexpr HDC kFirstInformationContext = 0x2000;
constexpr double kTwipsPerInch = 1440;

// Device capabilities count whole dots per inch.
int32_t wholeDpi(double dpi) { return dpi > 0 ? static_cast<int32_t>(std::lround(dpi)) : 0; }

}  // namespace

HostUi::HostUi(HostDeps& deps)
    : deps_(deps),
      parameters_(deps.registry, deps.context, [this] { return screen(); }),
      nextContext_(kFirstInformationContext) {}

int32_t HostUi::GetSystemMetrics(int32_t index) {
    // Icon spacing is a profile setting, changed through the parameters.
    if (index == SM_CXICONSPACING || index == SM_CYICONSPACING)
        return parameters_.IconSpacing(index == SM_CYICONSPACING);
    const std::optional<ScreenFacts> facts = screen();
    if (!facts) return 0;
    return index == SM_CYMENU ? deps_.frontend.MenuHeight() : metricFromScreen(*facts, index);
}

int32_t HostUi::SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) {
    return parameters_.SystemParametersInfoA(action, param, pointer, winIni);
}

HDC HostUi::CreateICA(std::string_view driver, std::string_view, std::string_view) {
    if (!equalsNoCase(driver, "DISPLAY") || !screen()) return 0;
    const HDC dc = nextContext_++;
    informationContexts_.insert(dc);
    return dc;
}

int32_t HostUi::DeleteDC(HDC dc) { return informationContexts_.erase(dc) == 1 ? 1 : 0; }

HDC HostUi::GetWindowDC() { return screen() ? kWindowDc : 0; }

int32_t HostUi::GetDeviceCaps(HDC dc, int32_t index) {
    if (dc != kWindowDc && !informationContexts_.contains(dc)) return 0;
    const std::optional<ScreenFacts> facts = screen();
    if (!facts) return 0;
    switch (index) {
        case BITSPIXEL: return facts->bitsPerPixel;
        case PLANES: return facts->planes;
        case LOGPIXELSX: return wholeDpi(facts->dpiX);
        case LOGPIXELSY: return wholeDpi(facts->dpiY);
        default: return 0;
    }
}

ScreenTwips HostUi::Screen() {
    const std::optional<ScreenFacts> facts = screen();
    if (!facts || facts->widthPx <= 0 || facts->heightPx <= 0 || wholeDpi(facts->dpiX) <= 0 ||
        wholeDpi(facts->dpiY) <= 0)
        raise(ErrorKind::PlatformFailure, "the screen cannot be measured");
    // Windows' own densities (96, 120, 144 dpi) give whole twips per pixel,
    // and the program divides the screen's twips by a rounded twips-per-pixel
    // to get back its pixels. A density such as 100 dpi would give 14.4 and a
    // 1280-pixel screen would read as 1316 pixels, so the twips per pixel are
    // kept whole and the screen's twips follow from its pixels.
    auto perPixel = [](double dpi) {
        return std::max(1.0f, std::nearbyint(static_cast<float>(kTwipsPerInch / wholeDpi(dpi))));
    };
    const float perPixelX = perPixel(facts->dpiX);
    const float perPixelY = perPixel(facts->dpiY);
    return {static_cast<float>(facts->widthPx) * perPixelX, static_cast<float>(facts->heightPx) * perPixelY, perPixelX,
            perPixelY};
}

void HostUi::SetMousePointer(int32_t pointer) { deps_.frontend.SetBusyPointer(pointer == POINTER_HOURGLASS); }

int32_t HostUi::MsgBox(std::string_view prompt, int32_t style, std::string_view title) {
    return deps_.frontend.ShowMessage(prompt, style, title);
}

bool HostUi::PrevInstance() {
    // Only windows exclude one another: a report is a one-shot reading that
    // scripts and tests take side by side, and while a window is open.
    if (deps_.program == Program::Report) return false;
    if (!lock_) {
        const HostEnvironment& environment = deps_.context.environment;
        const std::string temp = environment.Get("TMPDIR");
        const std::string fallback = temp.starts_with('/') ? temp : "/tmp";
        lock_ = takeInstanceLock(lockFileName(deps_.program, displayScope(environment)),
                                 environment.Get("XDG_RUNTIME_DIR"), fallback);
        // A guard that cannot be kept must not keep the user from the window.
        if (!lock_) {
            PrintErrorLine("si32: no private place for the single-instance lock ($XDG_RUNTIME_DIR or " + fallback +
                           "/si32-" + std::to_string(::geteuid()) + "); starting without it");
            lock_ = std::make_unique<InstanceLock>("");
        }
    }
    return lock_->state() == InstanceLock::State::Busy;
}

std::vector<DriveListEntry> HostUi::DriveListEntries() {
    std::vector<DriveListEntry> entries;
    for (const MappedDrive& drive : deps_.drives.drives()) entries.push_back({drive.letter, drive.listLabel});
    return entries;
}

std::unique_ptr<Ui> makeHostUi(HostDeps& deps) { return std::make_unique<HostUi>(deps); }

}  // namespace si32
