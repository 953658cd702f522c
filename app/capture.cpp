#include "app/capture.h"

#include <cstddef>
#include <vector>

#include "app/session.h"
#include "app/startup.h"
#include "platform/capture/recording_backend.h"
#include "platform/guarded.h"
#include "platform/sim/spi_table.h"
#include "screeninfo/screen_info_members.h"

namespace si32 {
namespace {

// Every desktop fact a ScreenInfo getter reads, asked the way the getter
// asks, whatever the system's version would let the class offer.
void readDesktopFacts(Platform& platform) {
    Ui& ui = platform.ui;
    for (const screen_info::MemberEntry& entry : screen_info::kMembers) {
        if (entry.metric != screen_info::kNoMetric) guarded([&] { ui.GetSystemMetrics(entry.metric); });
        if (entry.getAction == screen_info::kNoAction) continue;
        const sim::RecordLayout* layout = sim::findRecordLayout(entry.getAction);
        const uint32_t size = layout != nullptr                        ? layout->size
                              : entry.getAction == SPI_GETDESKWALLPAPER ? 260u
                                                                        : 4u;
        std::vector<std::byte> memory(size);
        if (layout != nullptr && layout->sizeField) spi_bytes::put32(memory, 0, static_cast<int32_t>(size));
        const uint32_t param = layout != nullptr && layout->sizeField ? size
                               : entry.getAction == SPI_GETDESKWALLPAPER ? size
                                                                         : 0u;
        guarded([&] { ui.SystemParametersInfoA(entry.getAction, param, std::span<std::byte>(memory), 0); });
    }
    // The icon font's size is in points at the display's density.
    guarded([&] {
        const HDC dc = ui.CreateICA("DISPLAY", "", "");
        if (dc == 0) return;
        ui.GetDeviceCaps(dc, LOGPIXELSY);
        ui.DeleteDC(dc);
    });
}

}  // namespace

nlohmann::ordered_json CaptureMachine(Backend& machine, const capture::Privacy& privacy, const CaptureSteps& steps) {
    capture::RecordingBackend recorder(machine);
    {
        Session session(recorder.platform());
        Form_Load(session);
        if (!session.RefusedSecondInstance) {
            Form_Activate(session);
            if (!steps.firstDrive.empty()) guarded([&] { session.form.SetDrive1(steps.firstDrive); });
            if (steps.afterFirstDrive) steps.afterFirstDrive(session);
            for (const std::string& entry : std::vector<std::string>(session.form.Drive1Entries))
                guarded([&] { session.form.SetDrive1(entry); });
            recorder.StopStartingPrograms();
            session.mod.Command2_Click();
            if (steps.afterClick) steps.afterClick(session, recorder.platform().files.Started());
        }
    }
    readDesktopFacts(recorder.platform());
    recorder.Complete();
    return capture::DescribeMachine(recorder.recording(), privacy);
}

}  // namespace si32
