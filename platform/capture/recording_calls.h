#pragma once
// What every recording decorator does around a call: note whether it
// answered or raised, keep the first answer, and ask again with room enough
// where the program's buffer cut the answer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/capture/recording.h"
#include "platform/run_time_error.h"
#include "platform/text_helpers.h"

namespace si32::capture {

// Long enough for any answer the services give; a longer one is cut, as the
// program's own buffers would cut it.
constexpr size_t kLargeBuffer = 32768;

// Runs one call; a run-time error is noted against the call and passed on.
template <class Call>
auto ask(Recording& rec, const char* name, Call&& call) -> decltype(call()) {
    try {
        if constexpr (std::is_void_v<decltype(call())>) {
            call();
            rec.answered.insert(name);
        } else {
            auto result = call();
            rec.answered.insert(name);
            return result;
        }
    } catch (const RunTimeError&) {
        rec.raised.insert(name);
        throw;
    }
}

inline std::string cutAtNul(std::span<const char> text) {
    return std::string(upToNul(std::string_view(text.data(), text.size())));
}

template <class T>
void keepFirst(std::optional<T>& slot, T value) {
    if (!slot) slot = std::move(value);
}

// A directory call's text: asked again with room enough when the program's
// buffer was too small, so the description holds it whole.
template <class Call>
void recordDirectory(std::optional<std::string>& slot, uint32_t result, std::span<char> buffer, Call&& call) {
    if (slot || result == 0) return;
    if (result < buffer.size()) {
        slot = std::string(buffer.data(), result);
        return;
    }
    std::vector<char> large(std::max<size_t>(result + 1, 1));
    const uint32_t again = call(std::span<char>(large));
    if (again != 0 && again < large.size()) slot = std::string(large.data(), again);
}

}  // namespace si32::capture
