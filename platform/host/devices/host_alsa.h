#pragma once
// Wave and MIDI output devices on the host, from ALSA: the wave devices are
// the sound cards' playback PCM devices; the MIDI devices are the sequencer
// ports that accept output from other clients, in client and port order,
// named as the system names them. A machine without sound has none.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/multimedia.h"

namespace si32 {

struct AlsaSequencerPort {
    int client = 0;
    int port = 0;
    std::string clientName;
    std::string portName;
    unsigned capability = 0;  // SND_SEQ_PORT_CAP_*
    unsigned type = 0;        // SND_SEQ_PORT_TYPE_*
};

// What the services need from ALSA; empty answers when there is no sound.
class AlsaDevices {
public:
    virtual ~AlsaDevices() = default;
    virtual uint32_t PlaybackPcmCount() = 0;
    virtual std::vector<AlsaSequencerPort> SequencerPorts() = 0;
};

// libasound is loaded at the first question the machine's files leave open
// (below root); a machine without it has no devices.
std::unique_ptr<AlsaDevices> makeAlsaLibrary(const std::string& root = "/");

// Loads libasound now: false when it, or a function the services call, is
// missing.
bool alsaLibraryLoads();

// Whether the kernel lists a sound card in /proc/asound/cards.
bool alsaHasCards(const std::string& root);
// Whether a sequencer exists: /proc/asound/seq/clients, or the device
// /dev/snd/seq, whose opening loads the sequencer. It can hold software ports
// (MIDI Through, a software synthesizer) on a machine without cards.
bool alsaHasSequencer(const std::string& root);

// The ports a program can send MIDI to, in device order.
std::vector<AlsaSequencerPort> midiOutputPorts(std::vector<AlsaSequencerPort> ports);

// MIDIOUTCAPSA of one port: its name in at most 31 bytes, never split inside
// a character.
MidiOutCapsA midiOutCaps(const AlsaSequencerPort& port);

class HostMultimedia final : public Multimedia {
public:
    explicit HostMultimedia(std::unique_ptr<AlsaDevices> alsa) : alsa_(std::move(alsa)) {}

    uint32_t waveOutGetNumDevs() override;
    uint32_t midiOutGetNumDevs() override;
    uint32_t midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) override;

private:
    std::unique_ptr<AlsaDevices> alsa_;
};

}  // namespace si32
