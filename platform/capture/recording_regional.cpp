#include "platform/capture/recorders.h"

#include <memory>
#include <vector>

#include "platform/capture/recording_calls.h"

namespace si32::capture {
namespace {

class RecordingRegional final : public Regional {
public:
    RecordingRegional(Regional& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    int32_t GetLocaleInfoA(LCTYPE type, std::span<char> buffer) override {
        const int32_t n = ask(rec_, "GetLocaleInfoA", [&] { return inner_.GetLocaleInfoA(type, buffer); });
        if (n > 0 && !buffer.empty() && static_cast<size_t>(n) <= buffer.size())
            rec_.locale.try_emplace(type, cutAtNul(buffer.first(static_cast<size_t>(n))));
        return n;
    }

    void Complete() {
        std::vector<LCTYPE> types = {LOCALE_SDECIMAL, LOCALE_STHOUSAND};
        for (LCTYPE month = 0; month < 12; ++month) types.push_back(LOCALE_SABBREVMONTHNAME1 + month);
        for (LCTYPE type : types) {
            if (rec_.locale.contains(type)) continue;
            std::vector<char> buffer(256);
            const int32_t n = inner_.GetLocaleInfoA(type, buffer);
            if (n > 0) rec_.locale.emplace(type, cutAtNul(std::span<const char>(buffer).first(static_cast<size_t>(n))));
        }
    }

private:
    Regional& inner_;
    Recording& rec_;
};

}  // namespace

std::unique_ptr<Regional> RecordRegional(Regional& inner, Recording& rec) {
    return std::make_unique<RecordingRegional>(inner, rec);
}

void RecordRegionalTexts(Regional& inner, Recording& rec) { RecordingRegional(inner, rec).Complete(); }

}  // namespace si32::capture
