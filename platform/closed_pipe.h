#pragma once
// Output to a reader that went away (a pipe into head, a closed terminal).

namespace si32 {

// A write to a reader that went away fails with EPIPE instead of ending the
// program where it stands; EndOnClosedPipe then ends it as a shell expects
// of any filter (cat, grep): quietly, as the signal would have.
void IgnoreClosedPipe();
[[noreturn]] void EndOnClosedPipe();

}  // namespace si32
