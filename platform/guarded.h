#pragma once
// Statement-level error skipping: run one statement; when it raises the
// project's run-time error, skip it and carry on with the next one.
#include <utility>

#include "platform/run_time_error.h"

namespace si32 {

// Returns true when the statement ran to its end.
template <class Statement>
bool guarded(Statement&& statement) {
    try {
        std::forward<Statement>(statement)();
        return true;
    } catch (const RunTimeError&) {
        return false;
    }
}

}  // namespace si32
