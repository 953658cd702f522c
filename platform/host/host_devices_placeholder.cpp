// Placeholder device services until the real ones land: every query fails
// the way the real call fails when it cannot answer, and the pointer and
// message boxes go to the frontend.
#include <cctype>

#include "platform/host/host_devices.h"
#include "platform/run_time_error.h"

namespace si32 {
namespace {

class PlaceholderUi final : public Ui {
public:
    explicit PlaceholderUi(HostDeps& deps) : deps_(deps) {}

    int32_t GetSystemMetrics(int32_t) override { return 0; }
    int32_t SystemParametersInfoA(uint32_t, uint32_t, SpiPointer, uint32_t) override { return 0; }
    HDC CreateICA(std::string_view, std::string_view, std::string_view) override { return 0; }
    int32_t DeleteDC(HDC) override { return 0; }
    HDC GetWindowDC() override { return 0; }
    int32_t GetDeviceCaps(HDC, int32_t) override { return 0; }
    ScreenTwips Screen() override { raise(ErrorKind::PlatformFailure, "the screen cannot be measured"); }
    void SetMousePointer(int32_t pointer) override { deps_.frontend.SetBusyPointer(pointer == POINTER_HOURGLASS); }
    int32_t MsgBox(std::string_view prompt, int32_t style, std::string_view title) override {
        return deps_.frontend.ShowMessage(prompt, style, title);
    }
    bool PrevInstance() override { return false; }
    std::vector<std::string> DriveListEntries() override {
        std::vector<std::string> entries;
        for (const MappedDrive& d : deps_.drives.drives()) {
            std::string entry(1, static_cast<char>(std::tolower(static_cast<unsigned char>(d.letter))));
            entry += ":";
            if (!d.listLabel.empty()) entry += " [" + d.listLabel + "]";
            entries.push_back(entry);
        }
        return entries;
    }

private:
    HostDeps& deps_;
};

class PlaceholderShell final : public Shell {
public:
    uint32_t SHAppBarMessage(uint32_t, AppBarData&) override {
        raise(ErrorKind::PlatformFailure, "the desktop does not tell the taskbar state");
    }
};

class PlaceholderMultimedia final : public Multimedia {
public:
    uint32_t waveOutGetNumDevs() override { return 0; }
    uint32_t midiOutGetNumDevs() override { return 0; }
    uint32_t midiOutGetDevCapsA(uint32_t, MidiOutCapsA&, uint32_t) override { return MMSYSERR_BADDEVICEID; }
};

class PlaceholderPrinting final : public Printing {
public:
    std::string DefaultPrinter() override { return {}; }
};

}  // namespace

std::unique_ptr<Ui> makeHostUi(HostDeps& deps) { return std::make_unique<PlaceholderUi>(deps); }
std::unique_ptr<Shell> makeHostShell(HostDeps&) { return std::make_unique<PlaceholderShell>(); }
std::unique_ptr<Multimedia> makeHostMultimedia() { return std::make_unique<PlaceholderMultimedia>(); }
std::unique_ptr<Printing> makeHostPrinting() { return std::make_unique<PlaceholderPrinting>(); }

}  // namespace si32
