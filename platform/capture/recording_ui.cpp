#include "platform/capture/recorders.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/capture/recording_calls.h"
#include "platform/contract/spi_actions.h"
#include "platform/sim/spi_table.h"

namespace si32::capture {
namespace {

class RecordingUi final : public Ui {
public:
    RecordingUi(Ui& inner, Recording& rec) : inner_(inner), rec_(rec) {}

    int32_t GetSystemMetrics(int32_t index) override {
        const int32_t value = ask(rec_, "GetSystemMetrics", [&] { return inner_.GetSystemMetrics(index); });
        rec_.display.metrics.try_emplace(index, value);
        return value;
    }
    int32_t SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) override {
        const int32_t ok = ask(rec_, "SystemParametersInfoA",
                               [&] { return inner_.SystemParametersInfoA(action, param, pointer, winIni); });
        auto* memory = std::get_if<std::span<std::byte>>(&pointer);
        if (ok == 0 || memory == nullptr) return ok;
        const std::optional<SpiSetAction> set = findSetAction(action);
        if (set && set->source == SpiSource::Spacing && set->metric >= 0 && memory->size() >= 4) {
            int32_t spacing = 0;
            std::memcpy(&spacing, memory->data(), 4);
            rec_.display.metrics.try_emplace(set->metric, spacing);
        } else if (!set) {
            rec_.display.parameters.try_emplace(action, answerBytes(action, *memory));
        }
        return ok;
    }
    HDC CreateICA(std::string_view driver, std::string_view device, std::string_view output) override {
        const HDC dc = ask(rec_, "CreateICA", [&] { return inner_.CreateICA(driver, device, output); });
        noteContext(dc);
        return dc;
    }
    int32_t DeleteDC(HDC dc) override {
        return ask(rec_, "DeleteDC", [&] { return inner_.DeleteDC(dc); });
    }
    HDC GetWindowDC() override {
        const HDC dc = ask(rec_, "GetWindowDC", [&] { return inner_.GetWindowDC(); });
        noteContext(dc);
        return dc;
    }
    int32_t GetDeviceCaps(HDC dc, int32_t index) override {
        const int32_t value = ask(rec_, "GetDeviceCaps", [&] { return inner_.GetDeviceCaps(dc, index); });
        if (dc != 0) rec_.display.caps.try_emplace(index, value);
        return value;
    }
    ScreenTwips Screen() override {
        const ScreenTwips screen = ask(rec_, "Screen", [&] { return inner_.Screen(); });
        keepFirst(rec_.display.screen, screen);
        return screen;
    }
    void SetMousePointer(int32_t pointer) override { inner_.SetMousePointer(pointer); }
    int32_t MsgBox(std::string_view prompt, int32_t style, std::string_view title) override {
        return inner_.MsgBox(prompt, style, title);
    }
    bool PrevInstance() override {
        const bool running = ask(rec_, "PrevInstance", [&] { return inner_.PrevInstance(); });
        keepFirst(rec_.previousInstance, running);
        return running;
    }
    std::vector<DriveListEntry> DriveListEntries() override {
        std::vector<DriveListEntry> entries = ask(rec_, "DriveListEntries", [&] { return inner_.DriveListEntries(); });
        if (!rec_.driveList) {
            rec_.driveList.emplace();
            for (const DriveListEntry& entry : entries) {
                rec_.driveList->push_back(entry.letter);
                RecordedDrive& drive = rec_.drives[entry.letter];
                drive.letter = entry.letter;
                drive.listLabel = entry.label;
            }
        }
        return entries;
    }

private:
    void noteContext(HDC dc) { (dc != 0 ? rec_.display.contextMade : rec_.display.contextFailed) = true; }

    // What a get action answered: the record as laid out, the wallpaper's
    // name without its NUL, a 32-bit value, or the caller's bytes.
    static std::vector<std::byte> answerBytes(uint32_t action, std::span<const std::byte> memory) {
        size_t size = memory.size();
        if (const sim::RecordLayout* layout = sim::findRecordLayout(action))
            size = std::min<size_t>(size, layout->size);
        else if (action == SPI_GETDESKWALLPAPER) size = upToNul(memory).size();
        return {memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(size)};
    }

    Ui& inner_;
    Recording& rec_;
};

}  // namespace

std::unique_ptr<Ui> RecordUi(Ui& inner, Recording& rec) { return std::make_unique<RecordingUi>(inner, rec); }

}  // namespace si32::capture
