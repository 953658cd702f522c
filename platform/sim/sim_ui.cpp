#include "platform/sim/sim_ui.h"

#include <algorithm>

#include "platform/run_time_error.h"
#include "platform/sim/parameter_value.h"
#include "platform/sim/windows_path.h"
#include "platform/spi.h"
#include "platform/text_helpers.h"

namespace si32::sim {

namespace {

constexpr HDC kWindowDC = 0x0D10;

DriveListEntry driveEntry(const DriveFacts& drive) {
    // The list names a drive by its volume's label unless the description
    // says what it shows instead (a network drive: its share).
    DriveListEntry entry{drive.letter, {}};
    if (drive.listLabel) entry.label = *drive.listLabel;
    else if (!drive.volumeFails) entry.label = drive.label;
    return entry;
}

bool recordSizeStated(const RecordLayout& layout, uint32_t param, std::span<const std::byte> memory) {
    return !layout.sizeField ||
           (param == layout.size && static_cast<uint32_t>(spi_bytes::get32(memory, 0)) == layout.size);
}

}  // namespace

SimUi::SimUi(const MachineDescription& description, const FailingCalls& failing, Frontend& frontend)
    : machine_(description), failing_(failing), frontend_(frontend), hasDisplay_(description.display.has_value()) {
    if (description.display) {
        metrics_ = description.display->metrics;
        parameters_ = description.display->parameters;
        // Icon metrics given alone also tell the icon-title font.
        const NestedRecord& nested = kIconMetricsFont;
        auto outer = parameters_.find(nested.outer);
        if (outer != parameters_.end() && parameters_.count(nested.inner) == 0) store(nested.outer, outer->second);
    }
}

int32_t SimUi::GetSystemMetrics(int32_t index) {
    failing_.raiseIfFailing("GetSystemMetrics");
    auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

int32_t SimUi::SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) {
    SpiCall call{action, param, SpiPointerKind::None, 0, {}, winIni, 0};
    if (const auto* value = std::get_if<int32_t>(&pointer)) {
        call.pointerKind = SpiPointerKind::Value;
        call.value = *value;
    } else if (const auto* memory = std::get_if<std::span<std::byte>>(&pointer)) {
        call.pointerKind = SpiPointerKind::Memory;
        call.bytes.assign(memory->begin(), memory->end());
    }
    if (!failing_.fails("SystemParametersInfoA")) {
        if (std::optional<SpiSetAction> set = findSetAction(action)) call.result = setParameter(*set, param, pointer);
        else call.result = getParameter(action, param, pointer);
    }
    spiLog_.push_back(std::move(call));
    return spiLog_.back().result;
}

int32_t SimUi::getParameter(uint32_t action, uint32_t param, const SpiPointer& pointer) const {
    auto it = parameters_.find(action);
    const auto* memory = std::get_if<std::span<std::byte>>(&pointer);
    if (it == parameters_.end() || memory == nullptr) return 0;
    const std::vector<std::byte>& stored = it->second;
    std::span<std::byte> out = *memory;
    if (const RecordLayout* layout = findRecordLayout(action)) {
        if (out.size() < layout->size || !recordSizeStated(*layout, param, out)) return 0;
        std::copy(stored.begin(), stored.end(), out.begin());
        return 1;
    }
    if (action == SPI_GETDESKWALLPAPER) {
        // The count argument is the buffer's length in characters.
        size_t room = std::min<size_t>(param, out.size());
        if (stored.size() + 1 > room) return 0;
        std::copy(stored.begin(), stored.end(), out.begin());
        out[stored.size()] = std::byte{0};
        return 1;
    }
    if (out.size() < stored.size()) return 0;
    std::copy(stored.begin(), stored.end(), out.begin());
    return 1;
}

int32_t SimUi::setParameter(const SpiSetAction& set, uint32_t param, const SpiPointer& pointer) {
    const auto* memory = std::get_if<std::span<std::byte>>(&pointer);
    auto flagged = [&](uint32_t value) { return set.boolean ? uint32_t{value != 0} : value; };
    switch (set.source) {
        case SpiSource::Count: store(set.get, bytesOf32(flagged(param))); return 1;
        case SpiSource::Pointer: {
            if (memory != nullptr) return 0;
            const auto* value = std::get_if<int32_t>(&pointer);
            store(set.get, bytesOf32(flagged(value == nullptr ? 0 : static_cast<uint32_t>(*value))));
            return 1;
        }
        case SpiSource::Record: {
            const RecordLayout& layout = *findRecordLayout(set.get);
            if (memory == nullptr || memory->size() < layout.size || !recordSizeStated(layout, param, *memory))
                return 0;
            store(set.get, std::vector<std::byte>(memory->begin(), memory->begin() + layout.size));
            return 1;
        }
        case SpiSource::Text: {
            std::vector<std::byte> text;
            if (memory != nullptr) text.assign(memory->begin(), memory->begin() + upToNul(*memory).size());
            store(set.get, std::move(text));
            return 1;
        }
        case SpiSource::Refresh: return 1;
        case SpiSource::Spacing:
            // With memory to write to, the action reads the spacing instead.
            if (memory != nullptr) {
                if (memory->size() < 4) return 0;
                std::vector<std::byte> value = bytesOf32(static_cast<uint32_t>(metrics_[set.metric]));
                std::copy(value.begin(), value.end(), memory->begin());
                return 1;
            }
            metrics_[set.metric] = static_cast<int32_t>(param);
            return 1;
    }
    return 0;
}

void SimUi::store(uint32_t getAction, std::vector<std::byte> bytes) {
    const NestedRecord& nested = kIconMetricsFont;
    if (getAction == nested.inner) {
        auto outer = parameters_.find(nested.outer);
        if (outer != parameters_.end()) std::copy(bytes.begin(), bytes.end(), outer->second.begin() + nested.offset);
    } else if (getAction == nested.outer) {
        const RecordLayout& inner = *findRecordLayout(nested.inner);
        auto first = bytes.begin() + nested.offset;
        parameters_[nested.inner] = std::vector<std::byte>(first, first + inner.size);
    }
    parameters_[getAction] = std::move(bytes);
}

HDC SimUi::CreateICA(std::string_view driver, std::string_view, std::string_view) {
    if (failing_.fails("CreateICA") || !hasDisplay_ || !machine_.display->contexts || !equalsNoCase(driver, "DISPLAY"))
        return 0;
    HDC context = nextContext_;
    nextContext_ += 4;
    informationContexts_.insert(context);
    return context;
}

int32_t SimUi::DeleteDC(HDC dc) {
    if (failing_.fails("DeleteDC")) return 0;
    return informationContexts_.erase(dc) != 0 ? 1 : 0;
}

HDC SimUi::GetWindowDC() {
    if (failing_.fails("GetWindowDC") || !hasDisplay_ || !machine_.display->contexts) return 0;
    return kWindowDC;
}

int32_t SimUi::GetDeviceCaps(HDC dc, int32_t index) {
    failing_.raiseIfFailing("GetDeviceCaps");
    if (!hasDisplay_ || (dc != kWindowDC && informationContexts_.count(dc) == 0)) return 0;
    const DisplayFacts& display = *machine_.display;
    switch (index) {
        case BITSPIXEL: return display.bitsPerPixel;
        case PLANES: return display.planes;
        case LOGPIXELSY: return display.logPixelsY;
        case LOGPIXELSX:
            // A screen's pixel density follows from its twips per pixel.
            if (display.logPixelsX) return *display.logPixelsX;
            return display.twipsPerPixelX.value_or(0) > 0 ? 1440 / *display.twipsPerPixelX : 0;
        default: return 0;
    }
}

ScreenTwips SimUi::Screen() {
    failing_.raiseIfFailing("Screen");
    const std::optional<DisplayFacts>& display = machine_.display;
    if (!display || !display->widthTwips || !display->heightTwips || !display->twipsPerPixelX ||
        !display->twipsPerPixelY)
        raise(ErrorKind::PlatformFailure, "the screen cannot be measured");
    return ScreenTwips{static_cast<float>(*display->widthTwips), static_cast<float>(*display->heightTwips),
                       static_cast<float>(*display->twipsPerPixelX), static_cast<float>(*display->twipsPerPixelY)};
}

void SimUi::SetMousePointer(int32_t pointer) {
    failing_.raiseIfFailing("SetMousePointer");
    frontend_.SetBusyPointer(pointer == POINTER_HOURGLASS);
}

int32_t SimUi::MsgBox(std::string_view prompt, int32_t style, std::string_view title) {
    failing_.raiseIfFailing("MsgBox");
    return frontend_.ShowMessage(prompt, style, title);
}

bool SimUi::PrevInstance() {
    failing_.raiseIfFailing("PrevInstance");
    return machine_.previousInstance;
}

std::vector<DriveListEntry> SimUi::DriveListEntries() {
    failing_.raiseIfFailing("DriveListEntries");
    std::vector<DriveListEntry> entries;
    for (const DriveFacts& drive : machine_.drives) entries.push_back(driveEntry(drive));
    return entries;
}

}  // namespace si32::sim
