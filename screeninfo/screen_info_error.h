#pragma once
// The error ScreenInfo raises for a member the running system does not offer.
// It is the class's own answer to its caller, not a platform failure, so it
// is deliberately not a si32::RunTimeError: a guarded statement must not
// swallow it silently; a caller who wants silence sets RaiseErrors to False.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace si32 {

class ScreenInfoError : public std::runtime_error {
public:
    // The object-error base 0x80040000 plus 5114.
    static constexpr int32_t kNumber = -2147216390;
    static constexpr std::string_view kSource = "Screen";
    static constexpr std::string_view kDescription = "Invalid for this operating system.";

    // member: the property that was refused, for the message only.
    explicit ScreenInfoError(std::string_view member)
        : std::runtime_error(std::string(kSource) + "." + std::string(member) + ": " + std::string(kDescription)) {}

    int32_t number() const noexcept { return kNumber; }
    std::string source() const { return std::string(kSource); }
    std::string description() const { return std::string(kDescription); }
};

}  // namespace si32
