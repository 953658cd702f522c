#pragma once
// Multimedia services (winmm): wave and MIDI output devices.
#include <array>
#include <cstdint>

namespace si32 {

inline constexpr uint32_t MMSYSERR_NOERROR = 0;
inline constexpr uint32_t MMSYSERR_BADDEVICEID = 2;
inline constexpr uint32_t MMSYSERR_INVALPARAM = 11;

// MIDIOUTCAPSA: szPname holds at most 31 characters and a NUL.
struct MidiOutCapsA {
    uint16_t wMid = 0;
    uint16_t wPid = 0;
    uint32_t vDriverVersion = 0;
    std::array<char, 32> szPname{};
    uint16_t wTechnology = 0;
    uint16_t wVoices = 0;
    uint16_t wNotes = 0;
    uint16_t wChannelMask = 0;
    uint32_t dwSupport = 0;
};

class Multimedia {
public:
    virtual ~Multimedia() = default;
    virtual uint32_t waveOutGetNumDevs() = 0;
    virtual uint32_t midiOutGetNumDevs() = 0;
    // MMRESULT. size: the record size the caller states; the service fills
    // no more of the record than both sizes allow.
    virtual uint32_t midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) = 0;
};

}  // namespace si32
