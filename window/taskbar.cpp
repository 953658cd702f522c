#include "window/taskbar.h"

#include <cmath>
#include <limits>

#include "platform/checked.h"
#include "platform/guarded.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "window/si9x.h"

namespace si32 {

int32_t HalfOf(double value) {
    // nearbyint rounds halves to even under the default rounding mode.
    const double whole = std::nearbyint(value);
    if (!(whole >= std::numeric_limits<int32_t>::min() && whole <= std::numeric_limits<int32_t>::max()))
        raise(ErrorKind::Overflow, "centring outside the 32-bit range");
    return static_cast<int32_t>(whole) / 2;
}

void CenterForm(Ui& ui, Si9x& form) {
    // Single-precision measures, as the screen and the window report them;
    // a measure that cannot be taken skips its statement.
    const float fw = static_cast<float>(form.OuterWidth);
    const float fh = static_cast<float>(form.OuterHeight);
    int32_t left = form.Left, top = form.Top;
    guarded([&] { left = HalfOf(static_cast<double>(ui.Screen().width - fw)); });
    guarded([&] { top = HalfOf(static_cast<double>(ui.Screen().height - fh)); });
    guarded([&] { form.Move(left, top); });
}

int16_t GetTaskbarState(Shell& shell) {
    int16_t state = 0;
    guarded([&] {
        AppBarData data{};
        const uint32_t answer = shell.SHAppBarMessage(ABM_GETSTATE, data);
        state = checkedCast<int16_t>(static_cast<int64_t>(static_cast<int32_t>(answer)));
    });
    return state;
}

}  // namespace si32
