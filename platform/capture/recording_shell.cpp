#include "platform/capture/recorders.h"

#include <memory>

#include "platform/capture/recording_calls.h"

namespace si32::capture {
namespace {

class RecordingShell final : public Shell {
public:
    RecordingShell(Shell& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    uint32_t SHAppBarMessage(uint32_t message, AppBarData& data) override {
        const uint32_t state = ask(rec_, "SHAppBarMessage", [&] { return inner_.SHAppBarMessage(message, data); });
        if (message == ABM_GETSTATE) keepFirst(rec_.taskbarState, state);
        return state;
    }

private:
    Shell& inner_;
    Recording& rec_;
};

}  // namespace

std::unique_ptr<Shell> RecordShell(Shell& inner, Recording& rec) {
    return std::make_unique<RecordingShell>(inner, rec);
}

}  // namespace si32::capture
