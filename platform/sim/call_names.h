#pragma once
// The platform calls a machine description can make fail, by the method
// names of the platform headers (which are the Windows names).
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace si32::sim {

std::span<const std::string_view> knownCallNames();
bool isKnownCall(std::string_view name);

// The calls listed in failing_calls.
class FailingCalls {
public:
    FailingCalls() = default;
    explicit FailingCalls(std::set<std::string, std::less<>> names) : names_(std::move(names)) {}
    bool fails(std::string_view call) const { return names_.count(call) != 0; }
    // For calls without a failure status: raises the platform error.
    void raiseIfFailing(std::string_view call) const;

private:
    std::set<std::string, std::less<>> names_;
};

}  // namespace si32::sim
