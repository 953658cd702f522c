#include "platform/host/host_alsa.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <mutex>

#include "platform/utf8_cut.h"

namespace si32 {
namespace {

// MIDIOUTCAPSA as Windows lays it out; copying a prefix of the record must
// cut it at the same fields.
static_assert(sizeof(MidiOutCapsA) == 52 && offsetof(MidiOutCapsA, szPname) == 8 &&
              offsetof(MidiOutCapsA, wTechnology) == 40 && offsetof(MidiOutCapsA, dwSupport) == 48);

enum : uint16_t {
    MOD_MIDIPORT = 1,
    MOD_SYNTH = 2,
    MOD_SWSYNTH = 7,
};

// ALSA reports its own trouble (no /dev/snd) on standard error by default;
// the answer "no devices" says all that is needed.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaOnce() {
    static std::once_flag silenced;
    std::call_once(silenced, [] { snd_lib_error_set_handler(quietAlsa); });
}

class AlsaLibrary final : public AlsaDevices {
public:
    uint32_t PlaybackPcmCount() override {
        silenceAlsaOnce();
        uint32_t count = 0;
        int card = -1;
        while (snd_card_next(&card) == 0 && card >= 0) {
            snd_ctl_t* control = nullptr;
            const std::string name = "hw:" + std::to_string(card);
            if (snd_ctl_open(&control, name.c_str(), SND_CTL_NONBLOCK) < 0) continue;
            snd_pcm_info_t* info = nullptr;
            snd_pcm_info_malloc(&info);
            int device = -1;
            while (info != nullptr && snd_ctl_pcm_next_device(control, &device) == 0 && device >= 0) {
                snd_pcm_info_set_device(info, static_cast<unsigned>(device));
                snd_pcm_info_set_subdevice(info, 0);
                snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
                // Fails for a capture-only device.
                if (snd_ctl_pcm_info(control, info) >= 0) ++count;
            }
            snd_pcm_info_free(info);
            snd_ctl_close(control);
        }
        return count;
    }

    std::vector<AlsaSequencerPort> SequencerPorts() override {
        silenceAlsaOnce();
        std::vector<AlsaSequencerPort> ports;
        snd_seq_t* seq = nullptr;
        if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0) return ports;
        snd_seq_client_info_t* client = nullptr;
        snd_seq_port_info_t* port = nullptr;
        snd_seq_client_info_malloc(&client);
        snd_seq_port_info_malloc(&port);
        snd_seq_client_info_set_client(client, -1);
        while (client != nullptr && port != nullptr && snd_seq_query_next_client(seq, client) >= 0) {
            const int id = snd_seq_client_info_get_client(client);
            snd_seq_port_info_set_client(port, id);
            snd_seq_port_info_set_port(port, -1);
            while (snd_seq_query_next_port(seq, port) >= 0) {
                ports.push_back({id, snd_seq_port_info_get_port(port), snd_seq_client_info_get_name(client),
                                 snd_seq_port_info_get_name(port), snd_seq_port_info_get_capability(port),
                                 snd_seq_port_info_get_type(port)});
            }
        }
        snd_seq_port_info_free(port);
        snd_seq_client_info_free(client);
        snd_seq_close(seq);
        return ports;
    }
};

uint16_t technologyOf(unsigned type) {
    if (type & (SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_DIRECT_SAMPLE | SND_SEQ_PORT_TYPE_SAMPLE |
                SND_SEQ_PORT_TYPE_SYNTHESIZER))
        return (type & SND_SEQ_PORT_TYPE_SOFTWARE) ? MOD_SWSYNTH : MOD_SYNTH;
    return MOD_MIDIPORT;
}

}  // namespace

std::unique_ptr<AlsaDevices> makeAlsaLibrary() { return std::make_unique<AlsaLibrary>(); }

std::vector<AlsaSequencerPort> midiOutputPorts(std::vector<AlsaSequencerPort> ports) {
    constexpr unsigned kAcceptsOutput = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    std::erase_if(ports, [](const AlsaSequencerPort& p) {
        // The system client only announces and times; a port that asks not
        // to be exported is private to its program.
        return p.client == SND_SEQ_CLIENT_SYSTEM || (p.capability & kAcceptsOutput) != kAcceptsOutput ||
               (p.capability & SND_SEQ_PORT_CAP_NO_EXPORT) != 0;
    });
    std::stable_sort(ports.begin(), ports.end(), [](const AlsaSequencerPort& a, const AlsaSequencerPort& b) {
        return a.client != b.client ? a.client < b.client : a.port < b.port;
    });
    return ports;
}

MidiOutCapsA midiOutCaps(const AlsaSequencerPort& port) {
    MidiOutCapsA caps;
    const std::string_view name = Utf8Prefix(port.portName.empty() ? port.clientName : port.portName,
                                             caps.szPname.size() - 1);
    std::memcpy(caps.szPname.data(), name.data(), name.size());
    caps.wTechnology = technologyOf(port.type);
    // A sequencer port takes all sixteen channels.
    caps.wChannelMask = 0xFFFF;
    return caps;
}

uint32_t HostMultimedia::waveOutGetNumDevs() { return alsa_->PlaybackPcmCount(); }

uint32_t HostMultimedia::midiOutGetNumDevs() {
    return static_cast<uint32_t>(midiOutputPorts(alsa_->SequencerPorts()).size());
}

uint32_t HostMultimedia::midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) {
    const std::vector<AlsaSequencerPort> ports = midiOutputPorts(alsa_->SequencerPorts());
    if (deviceId >= ports.size()) return MMSYSERR_BADDEVICEID;
    const MidiOutCapsA whole = midiOutCaps(ports[deviceId]);
    // No more of the record than the caller says it has.
    std::memcpy(&caps, &whole, std::min<size_t>(size, sizeof whole));
    return MMSYSERR_NOERROR;
}

}  // namespace si32
