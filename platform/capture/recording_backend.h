#pragma once
// A backend that answers from another one and writes down every answer, so
// the machine behind it can be described and replayed anywhere.
#include <memory>

#include "platform/capture/recording.h"
#include "platform/platform.h"

namespace si32::capture {

class RecordingBackend final : public Backend {
public:
    // inner must outlive this object.
    explicit RecordingBackend(Backend& inner);
    ~RecordingBackend() override;

    Platform& platform() override;

    // From now on a program start is only looked up, never made: the answer
    // (started, or not found) is recorded as the machine would give it.
    void StopStartingPrograms();
    // The window shows its first drive now: the drives' space stays as
    // answered so far, and a drive not asked yet keeps its first answer.
    void KeepSpaceAsShown();
    // Asks the wrapped machine what the description needs whole but the
    // program asked only in part (the regional texts, every MIDI device's
    // name). Call once the program is done.
    void Complete();

    const Recording& recording() const;

private:
    struct Services;
    std::unique_ptr<Services> services_;
};

}  // namespace si32::capture
