#pragma once
// User-interface services of the simulated machine: metrics, desktop
// parameters (remembered when set, and every call logged), device contexts,
// the screen in twips, and the parts the drawing side supplies (pointer and
// message boxes).
#include <map>
#include <set>
#include <vector>

#include "platform/sim/call_names.h"
#include "platform/sim/machine_description.h"
#include "platform/sim/spi_call.h"
#include "platform/sim/spi_table.h"
#include "platform/ui.h"

namespace si32::sim {

class SimUi : public Ui {
public:
    SimUi(const MachineDescription& description, const FailingCalls& failing, Frontend& frontend);

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

    const std::vector<SpiCall>& spiLog() const { return spiLog_; }

private:
    int32_t getParameter(uint32_t action, uint32_t param, const SpiPointer& pointer) const;
    int32_t setParameter(const SpiSetAction& set, uint32_t param, const SpiPointer& pointer);
    void store(uint32_t getAction, std::vector<std::byte> bytes);

    const MachineDescription& machine_;
    const FailingCalls& failing_;
    Frontend& frontend_;
    bool hasDisplay_ = false;
    std::map<int32_t, int32_t> metrics_;
    std::map<uint32_t, std::vector<std::byte>> parameters_;
    std::set<HDC> informationContexts_;
    HDC nextContext_ = 0x1C10;
    std::vector<SpiCall> spiLog_;
};

}  // namespace si32::sim
