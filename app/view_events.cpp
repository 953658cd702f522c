#include "app/view_events.h"

#include <string>
#include <string_view>

#include "platform/guarded.h"
#include "window/si9x.h"

namespace si32 {

bool HandleEvent(Si9x& form, const std::function<void()>& handler, bool& focusMoved) {
    focusMoved = false;
    if (form.Ended) return false;
    const std::string focusBefore = form.Focused;
    guarded(handler);
    if (form.Ended) return false;
    focusMoved = form.Focused != focusBefore;
    return true;
}

void PickDrive(Si9x& form, const std::vector<DriveListEntry>& entries, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) return;
    const char letter = entries[static_cast<std::size_t>(row)].letter;
    guarded([&] { form.SetDrive1(std::string_view(&letter, 1)); });
}

}  // namespace si32
