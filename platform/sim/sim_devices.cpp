#include "platform/sim/sim_devices.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page.h"
#include "platform/contract/buffer_conventions.h"
#include "platform/run_time_error.h"

namespace si32::sim {

namespace {

constexpr uint32_t MMSYSERR_ERROR = 1;
constexpr uint16_t MOD_MIDIPORT = 1;

// MIDIOUTCAPSA as Windows lays it out (52 bytes), so that a stated record
// size cuts the record where the real call would.
constexpr size_t kMidiCapsBytes = 52;

std::array<unsigned char, kMidiCapsBytes> midiCapsBytes(const MidiOutCapsA& caps) {
    std::array<unsigned char, kMidiCapsBytes> bytes{};
    auto put = [&](size_t offset, uint32_t value, size_t width) {
        for (size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(0, caps.wMid, 2);
    put(2, caps.wPid, 2);
    put(4, caps.vDriverVersion, 4);
    std::memcpy(bytes.data() + 8, caps.szPname.data(), caps.szPname.size());
    put(40, caps.wTechnology, 2);
    put(42, caps.wVoices, 2);
    put(44, caps.wNotes, 2);
    put(46, caps.wChannelMask, 2);
    put(48, caps.dwSupport, 4);
    return bytes;
}

// Writes the first `size` bytes of the record into caps, field by field.
void copyMidiCaps(const MidiOutCapsA& from, MidiOutCapsA& to, size_t size) {
    std::array<unsigned char, kMidiCapsBytes> source = midiCapsBytes(from);
    std::array<unsigned char, kMidiCapsBytes> target = midiCapsBytes(to);
    std::copy_n(source.begin(), std::min(size, kMidiCapsBytes), target.begin());
    auto get = [&](size_t offset, size_t width) {
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) value |= uint32_t{target[offset + i]} << (8 * i);
        return value;
    };
    to.wMid = static_cast<uint16_t>(get(0, 2));
    to.wPid = static_cast<uint16_t>(get(2, 2));
    to.vDriverVersion = get(4, 4);
    std::memcpy(to.szPname.data(), target.data() + 8, to.szPname.size());
    to.wTechnology = static_cast<uint16_t>(get(40, 2));
    to.wVoices = static_cast<uint16_t>(get(42, 2));
    to.wNotes = static_cast<uint16_t>(get(44, 2));
    to.wChannelMask = static_cast<uint16_t>(get(46, 2));
    to.dwSupport = get(48, 4);
}

}  // namespace

uint32_t SimShell::SHAppBarMessage(uint32_t message, AppBarData&) {
    failing_.raiseIfFailing("SHAppBarMessage");
    if (message != ABM_GETSTATE) return 0;
    if (!machine_.taskbarState) raise(ErrorKind::PlatformFailure, "the taskbar state is not known");
    return *machine_.taskbarState;
}

uint32_t SimMultimedia::waveOutGetNumDevs() {
    failing_.raiseIfFailing("waveOutGetNumDevs");
    return machine_.waveDevices;
}

uint32_t SimMultimedia::midiOutGetNumDevs() {
    failing_.raiseIfFailing("midiOutGetNumDevs");
    return static_cast<uint32_t>(machine_.midiDevices.size());
}

uint32_t SimMultimedia::midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) {
    if (failing_.fails("midiOutGetDevCapsA")) return MMSYSERR_ERROR;
    if (deviceId >= machine_.midiDevices.size()) return MMSYSERR_BADDEVICEID;
    MidiOutCapsA answer;
    const std::string& name = machine_.midiDevices[deviceId];
    // The name field holds at most 31 bytes and its NUL, cut between characters.
    const std::string_view fits = AnsiPrefix(name, answer.szPname.size() - 1, machine_.ansiCodePage);
    std::copy(fits.begin(), fits.end(), answer.szPname.begin());
    answer.wTechnology = MOD_MIDIPORT;
    answer.wChannelMask = 0xFFFF;
    copyMidiCaps(answer, caps, size);
    return MMSYSERR_NOERROR;
}

std::string SimPrinting::DefaultPrinter() {
    failing_.raiseIfFailing("DefaultPrinter");
    return machine_.printingDefault;
}

int32_t SimRegional::GetLocaleInfoA(LCTYPE type, std::span<char> buffer) {
    if (failing_.fails("GetLocaleInfoA")) return 0;
    const RegionalFacts& regional = machine_.regional;
    const std::string* text = nullptr;
    if (type == LOCALE_SDECIMAL) text = &regional.decimal;
    else if (type == LOCALE_STHOUSAND) text = &regional.thousands;
    else if (type >= LOCALE_SABBREVMONTHNAME1 && type < LOCALE_SABBREVMONTHNAME1 + 12)
        text = &regional.months[type - LOCALE_SABBREVMONTHNAME1];
    if (text == nullptr) return 0;
    return storeLocaleAnswer(*text, buffer);
}

}  // namespace si32::sim
