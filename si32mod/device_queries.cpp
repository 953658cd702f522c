// The MIDI device list, INI values, the colour count and the computer name:
// one platform query each, failures reported only through the results.
#include <cmath>
#include <cstdint>

#include "platform/guarded.h"
#include "platform/text_helpers.h"
#include "si32mod/buffers.h"
#include "si32mod/si32mod.h"
#include "window/si9x.h"

namespace si32 {
namespace {

constexpr uint32_t kMidiCapsSize = 128;
constexpr std::size_t kIniBuffer = 255;
constexpr std::size_t kComputerNameBuffer = 32;

}  // namespace

int16_t Si32Mod::ListMidiDevices(Si9x& form) {
    Multimedia& multimedia = platform_.multimedia;
    int16_t count = 0;
    // The count is a 16-bit integer: a larger one overflows and stays 0.
    guarded([&] {
        uint32_t devices = multimedia.midiOutGetNumDevs();
        if (devices > static_cast<uint32_t>(INT16_MAX)) raise(ErrorKind::Overflow, "MIDI device count over 16 bits");
        count = static_cast<int16_t>(devices);
    });
    std::string& text = form.control("MidiDevs").text;
    for (int16_t device = 0; device < count; ++device) {
        // A fresh record for each device, so that a device whose query fails
        // is not listed under the previous device's name.
        MidiOutCapsA caps;
        guarded([&] { multimedia.midiOutGetDevCapsA(static_cast<uint32_t>(device), caps, kMidiCapsSize); });
        std::string name(upToNul(std::string_view(caps.szPname.data(), caps.szPname.size())));
        if (device == 0) {
            text = name + " (default)";
        } else if (!text.empty()) {
            text += "\r\n" + name;
        } else {
            text = name;
        }
    }
    return count;
}

std::string Si32Mod::GetIniString(std::string_view section, std::string_view key, std::string_view fileName) {
    std::string buffer = mod::nulBuffer(kIniBuffer);
    uint32_t count = 0;
    guarded([&] { count = platform_.kernel.GetPrivateProfileStringA(section, key, "", buffer, fileName); });
    return count != 0 ? mod::leftOf(buffer, count) : "unknown";
}

double Si32Mod::GetColorCount(HDC dc) {
    Ui& ui = platform_.ui;
    int32_t bits = 0, planes = 0;
    double colours = 0;
    guarded([&] { bits = ui.GetDeviceCaps(dc, BITSPIXEL); });
    guarded([&] { planes = ui.GetDeviceCaps(dc, PLANES); });
    guarded([&] {
        double result = std::pow(2.0, bits) * planes;
        if (!std::isfinite(result)) raise(ErrorKind::Overflow, "colour count out of range");
        colours = result;
    });
    return colours;
}

std::string Si32Mod::GetMachineName() {
    std::string buffer(kComputerNameBuffer, 'X');
    auto size = static_cast<uint32_t>(buffer.size());
    guarded([&] { platform_.kernel.GetComputerNameA(buffer, size); });
    return mod::leftOf(buffer, size);
}

}  // namespace si32
