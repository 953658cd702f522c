#include "platform/capture/recorders.h"

#include <memory>

#include "platform/capture/recording_calls.h"

namespace si32::capture {
namespace {

class RecordingMultimedia final : public Multimedia {
public:
    RecordingMultimedia(Multimedia& inner, Recording& rec) : inner_(inner), rec_(rec) {}
    uint32_t waveOutGetNumDevs() override {
        const uint32_t n = ask(rec_, "waveOutGetNumDevs", [&] { return inner_.waveOutGetNumDevs(); });
        keepFirst(rec_.waveDevices, n);
        return n;
    }
    uint32_t midiOutGetNumDevs() override {
        const uint32_t n = ask(rec_, "midiOutGetNumDevs", [&] { return inner_.midiOutGetNumDevs(); });
        keepFirst(rec_.midiDeviceCount, n);
        return n;
    }
    uint32_t midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) override {
        const uint32_t status =
            ask(rec_, "midiOutGetDevCapsA", [&] { return inner_.midiOutGetDevCapsA(deviceId, caps, size); });
        if (status == MMSYSERR_NOERROR && size >= kNameEnd) recordName(deviceId, caps);
        return status;
    }

    void Complete() {
        const uint32_t count = rec_.midiDeviceCount ? *rec_.midiDeviceCount : inner_.midiOutGetNumDevs();
        for (uint32_t id = 0; id < count; ++id) {
            if (rec_.midiNames.contains(id)) continue;
            MidiOutCapsA caps;
            if (inner_.midiOutGetDevCapsA(id, caps, kMidiCapsSize) == MMSYSERR_NOERROR) recordName(id, caps);
        }
    }

private:
    // The Windows record is 52 bytes whatever this build's struct holds.
    static constexpr uint32_t kMidiCapsSize = 52;
    // A stated size this long holds the whole product name.
    static constexpr uint32_t kNameEnd = 40;
    void recordName(uint32_t id, const MidiOutCapsA& caps) {
        rec_.midiNames.try_emplace(id, cutAtNul(std::span<const char>(caps.szPname)));
    }

    Multimedia& inner_;
    Recording& rec_;
};

}  // namespace

std::unique_ptr<Multimedia> RecordMultimedia(Multimedia& inner, Recording& rec) {
    return std::make_unique<RecordingMultimedia>(inner, rec);
}

void RecordAllMidiNames(Multimedia& inner, Recording& rec) { RecordingMultimedia(inner, rec).Complete(); }

}  // namespace si32::capture
