#include "window/si9x.h"

#include <stdexcept>

#include "platform/run_time_error.h"
#include "platform/text_helpers.h"
#include "window/layout.h"

namespace si32 {
namespace {

std::string keyOf(std::string_view name, int32_t index) {
    std::string key(name);
    if (index >= 0) key += "(" + std::to_string(index) + ")";
    return key;
}

}  // namespace

Si9x::Si9x() {
    const auto layout = si9xLayout();
    controls_.assign(layout.begin(), layout.end());
    for (std::size_t i = 0; i < controls_.size(); ++i) byKey_.emplace(controls_[i].key(), i);
}

void Si9x::Move(int32_t left, int32_t top) {
    Left = left;
    Top = top;
}

Control& Si9x::control(std::string_view name, int32_t index) { return controls_.at(byKey_.at(keyOf(name, index))); }

const Control& Si9x::control(std::string_view name, int32_t index) const {
    return controls_.at(byKey_.at(keyOf(name, index)));
}

void Si9x::ShowDrive1(const DriveListEntry& entry) {
    drive1Current_ = entry;
    control("Drive1").text = DriveListText(entry);
}

void Si9x::SetDrive1(std::string_view drive) {
    if (drive.empty()) raise(ErrorKind::PlatformFailure, "invalid drive");
    const char letter = upperAscii(drive.front());
    for (const auto& entry : Drive1Entries) {
        if (entry.letter != letter) continue;
        if (drive1Current_ == entry) return;
        ShowDrive1(entry);
        if (Drive1Change) Drive1Change();
        return;
    }
    raise(ErrorKind::PlatformFailure, "Device unavailable: " + std::string(drive));
}

void Si9x::SetFocus(std::string_view name) {
    (void)control(name);
    Focused = std::string(name);
}

void Si9x::End() {
    Ended = true;
    if (OnEnd) OnEnd();
}

}  // namespace si32
