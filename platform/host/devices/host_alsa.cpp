#include "platform/host/devices/host_alsa.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>

#include "platform/host/common/host_read.h"
#include "platform/host/common/shared_library.h"
#include "platform/text_helpers.h"

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

struct AlsaApi {
    static constexpr const char* kSoname = "libasound.so.2";
    SI32_LIBRARY_FUNCTION(snd_lib_error_set_handler);
    SI32_LIBRARY_FUNCTION(snd_card_next);
    SI32_LIBRARY_FUNCTION(snd_ctl_open);
    SI32_LIBRARY_FUNCTION(snd_ctl_close);
    SI32_LIBRARY_FUNCTION(snd_ctl_pcm_next_device);
    SI32_LIBRARY_FUNCTION(snd_ctl_pcm_info);
    SI32_LIBRARY_FUNCTION(snd_pcm_info_malloc);
    SI32_LIBRARY_FUNCTION(snd_pcm_info_free);
    SI32_LIBRARY_FUNCTION(snd_pcm_info_set_device);
    SI32_LIBRARY_FUNCTION(snd_pcm_info_set_subdevice);
    SI32_LIBRARY_FUNCTION(snd_pcm_info_set_stream);
    SI32_LIBRARY_FUNCTION(snd_seq_open);
    SI32_LIBRARY_FUNCTION(snd_seq_close);
    SI32_LIBRARY_FUNCTION(snd_seq_query_next_client);
    SI32_LIBRARY_FUNCTION(snd_seq_query_next_port);
    SI32_LIBRARY_FUNCTION(snd_seq_client_info_malloc);
    SI32_LIBRARY_FUNCTION(snd_seq_client_info_free);
    SI32_LIBRARY_FUNCTION(snd_seq_client_info_set_client);
    SI32_LIBRARY_FUNCTION(snd_seq_client_info_get_client);
    SI32_LIBRARY_FUNCTION(snd_seq_client_info_get_name);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_malloc);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_free);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_set_client);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_set_port);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_get_port);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_get_name);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_get_capability);
    SI32_LIBRARY_FUNCTION(snd_seq_port_info_get_type);

    bool bind(const SharedLibrary& library) {
        const bool all =
            SI32_BIND(library, snd_lib_error_set_handler) && SI32_BIND(library, snd_card_next) &&
            SI32_BIND(library, snd_ctl_open) && SI32_BIND(library, snd_ctl_close) &&
            SI32_BIND(library, snd_ctl_pcm_next_device) && SI32_BIND(library, snd_ctl_pcm_info) &&
            SI32_BIND(library, snd_pcm_info_malloc) && SI32_BIND(library, snd_pcm_info_free) &&
            SI32_BIND(library, snd_pcm_info_set_device) && SI32_BIND(library, snd_pcm_info_set_subdevice) &&
            SI32_BIND(library, snd_pcm_info_set_stream) && SI32_BIND(library, snd_seq_open) &&
            SI32_BIND(library, snd_seq_close) && SI32_BIND(library, snd_seq_query_next_client) &&
            SI32_BIND(library, snd_seq_query_next_port) && SI32_BIND(library, snd_seq_client_info_malloc) &&
            SI32_BIND(library, snd_seq_client_info_free) && SI32_BIND(library, snd_seq_client_info_set_client) &&
            SI32_BIND(library, snd_seq_client_info_get_client) && SI32_BIND(library, snd_seq_client_info_get_name) &&
            SI32_BIND(library, snd_seq_port_info_malloc) && SI32_BIND(library, snd_seq_port_info_free) &&
            SI32_BIND(library, snd_seq_port_info_set_client) && SI32_BIND(library, snd_seq_port_info_set_port) &&
            SI32_BIND(library, snd_seq_port_info_get_port) && SI32_BIND(library, snd_seq_port_info_get_name) &&
            SI32_BIND(library, snd_seq_port_info_get_capability) && SI32_BIND(library, snd_seq_port_info_get_type);
        // Before any other call, which could already complain.
        if (all) snd_lib_error_set_handler(quietAlsa);
        return all;
    }
};

class AlsaLibrary final : public AlsaDevices {
public:
    explicit AlsaLibrary(std::string root) : root_(std::move(root)) {}

    uint32_t PlaybackPcmCount() override {
        if (!alsaHasCards(root_)) return 0;
        const AlsaApi* alsa = loadLibraryOnce<AlsaApi>();
        if (alsa == nullptr) return 0;
        uint32_t count = 0;
        int card = -1;
        while (alsa->snd_card_next(&card) == 0 && card >= 0) {
            snd_ctl_t* control = nullptr;
            const std::string name = "hw:" + std::to_string(card);
            if (alsa->snd_ctl_open(&control, name.c_str(), SND_CTL_NONBLOCK) < 0) continue;
            snd_pcm_info_t* info = nullptr;
            alsa->snd_pcm_info_malloc(&info);
            int device = -1;
            while (info != nullptr && alsa->snd_ctl_pcm_next_device(control, &device) == 0 && device >= 0) {
                alsa->snd_pcm_info_set_device(info, static_cast<unsigned>(device));
                alsa->snd_pcm_info_set_subdevice(info, 0);
                alsa->snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
                // Fails for a capture-only device.
                if (alsa->snd_ctl_pcm_info(control, info) >= 0) ++count;
            }
            alsa->snd_pcm_info_free(info);
            alsa->snd_ctl_close(control);
        }
        return count;
    }

    std::vector<AlsaSequencerPort> SequencerPorts() override {
        std::vector<AlsaSequencerPort> ports;
        if (!alsaHasSequencer(root_)) return ports;
        const AlsaApi* alsa = loadLibraryOnce<AlsaApi>();
        if (alsa == nullptr) return ports;
        snd_seq_t* seq = nullptr;
        if (alsa->snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, SND_SEQ_NONBLOCK) < 0) return ports;
        snd_seq_client_info_t* client = nullptr;
        snd_seq_port_info_t* port = nullptr;
        alsa->snd_seq_client_info_malloc(&client);
        alsa->snd_seq_port_info_malloc(&port);
        if (client != nullptr) alsa->snd_seq_client_info_set_client(client, -1);
        while (client != nullptr && port != nullptr && alsa->snd_seq_query_next_client(seq, client) >= 0) {
            const int id = alsa->snd_seq_client_info_get_client(client);
            alsa->snd_seq_port_info_set_client(port, id);
            alsa->snd_seq_port_info_set_port(port, -1);
            while (alsa->snd_seq_query_next_port(seq, port) >= 0) {
                ports.push_back({id, alsa->snd_seq_port_info_get_port(port), alsa->snd_seq_client_info_get_name(client),
                                 alsa->snd_seq_port_info_get_name(port), alsa->snd_seq_port_info_get_capability(port),
                                 alsa->snd_seq_port_info_get_type(port)});
            }
        }
        alsa->snd_seq_port_info_free(port);
        alsa->snd_seq_client_info_free(client);
        alsa->snd_seq_close(seq);
        return ports;
    }

private:
    std::string root_;
};

uint16_t technologyOf(unsigned type) {
    if (type & (SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_DIRECT_SAMPLE | SND_SEQ_PORT_TYPE_SAMPLE |
                SND_SEQ_PORT_TYPE_SYNTHESIZER))
        return (type & SND_SEQ_PORT_TYPE_SOFTWARE) ? MOD_SWSYNTH : MOD_SYNTH;
    return MOD_MIDIPORT;
}

}  // namespace

std::unique_ptr<AlsaDevices> makeAlsaLibrary(const std::string& root) { return std::make_unique<AlsaLibrary>(root); }

bool alsaLibraryLoads() { return loadLibraryOnce<AlsaApi>() != nullptr; }

bool alsaHasCards(const std::string& root) {
    // One line per card starts with its number; a machine without any shows
    // "--- no soundcards ---" instead.
    const std::optional<std::string> cards = readUnderRoot(root, "/proc/asound/cards");
    if (!cards) return false;
    for (std::string_view line : splitLines(*cards)) {
        line = trimBlanks(line);
        if (!line.empty() && line.front() >= '0' && line.front() <= '9') return true;
    }
    return false;
}

bool alsaHasSequencer(const std::string& root) {
    std::error_code ignored;
    return std::filesystem::exists(underRoot(root, "/proc/asound/seq/clients"), ignored) ||
           std::filesystem::exists(underRoot(root, "/dev/snd/seq"), ignored);
}

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
    const std::string_view name =
        utf8Prefix(port.portName.empty() ? port.clientName : port.portName, caps.szPname.size() - 1);
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
