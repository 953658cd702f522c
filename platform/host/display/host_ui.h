#pragma once
// The user-interface services on the host: metrics, device capabilities and
// the screen from what the drawing side reports of the real screen, desktop
// parameters from the user profile, the pointer and message boxes through the
// drawing side, the single-instance lock, and the drive list from the drive
// map.
#include <memory>
#include <set>

#include "platform/host/devices/host_desktop_parameters.h"
#include "platform/host/devices/host_devices.h"
#include "platform/host/devices/host_lock.h"

namespace si32 {

class HostUi final : public Ui {
public:
    explicit HostUi(HostDeps& deps);

    int32_t GetSystemMetrics(int32_t index) override;
    int32_t SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) override;
    HDC CreateICA(std::string_view driver, std::string_view device, std::string_view output) override;
    int32_t DeleteDC(HDC dc) override;
    HDC GetWindowDC() override;
    int32_t GetDeviceCaps(HDC dc, int32_t index) override;
    ScreenTwips Screen() override;
    void SetMousePointer(int32_t pointer) override;
    int32_t MsgBox(std::string_view prompt, int32_t style, std::string_view title) override;
    bool PrevInstance() override;
    std::vector<DriveListEntry> DriveListEntries() override;

private:
    std::optional<ScreenFacts> screen() { return deps_.frontend.Screen(); }

    HostDeps& deps_;
    DesktopParameters parameters_;
    std::set<HDC> informationContexts_;
    HDC nextContext_;
    // Taken at the first question and held until the process ends.
    std::unique_ptr<InstanceLock> lock_;
};

std::unique_ptr<Ui> makeHostUi(HostDeps& deps);

}  // namespace si32
