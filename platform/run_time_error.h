#pragma once
// The project's one run-time error type. Guarded statements swallow exactly
// this type and nothing else, so a programming error (std::logic_error,
// out_of_range from a bad index, ...) still surfaces.
#include <stdexcept>
#include <string>

namespace si32 {

enum class ErrorKind {
    PlatformFailure,  // a platform call raised (or a call listed as failing)
    FileNotFound,     // a file or path that is not there
    BadConversion,    // a text that is not the number or date it should be
    Overflow,         // arithmetic outside the range of its type
};

class RunTimeError : public std::runtime_error {
public:
    RunTimeError(ErrorKind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

[[noreturn]] inline void raise(ErrorKind kind, const std::string& what) { throw RunTimeError(kind, what); }

}  // namespace si32
