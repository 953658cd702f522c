#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/win32_services.h"

// After windows.h, which these need.
#include <mmsystem.h>
#include <shellapi.h>

namespace si32 {

uint32_t Win32Shell::SHAppBarMessage(uint32_t message, AppBarData& data) {
    APPBARDATA real{};
    real.cbSize = sizeof real;
    const UINT_PTR answer = ::SHAppBarMessage(message, &real);
    data.uEdge = real.uEdge;
    data.left = real.rc.left;
    data.top = real.rc.top;
    data.right = real.rc.right;
    data.bottom = real.rc.bottom;
    return static_cast<uint32_t>(answer);
}

uint32_t Win32Multimedia::waveOutGetNumDevs() { return ::waveOutGetNumDevs(); }

uint32_t Win32Multimedia::midiOutGetNumDevs() { return ::midiOutGetNumDevs(); }

uint32_t Win32Multimedia::midiOutGetDevCapsA(uint32_t deviceId, MidiOutCapsA& caps, uint32_t size) {
    MIDIOUTCAPSA real{};
    // The caller's stated size, bounded by the record: the call fills no more.
    const UINT stated = std::min<UINT>(size, sizeof real);
    const MMRESULT result = ::midiOutGetDevCapsA(deviceId, &real, stated);
    if (result != MMSYSERR_NOERROR) return result;
    caps.wMid = real.wMid;
    caps.wPid = real.wPid;
    caps.vDriverVersion = real.vDriverVersion;
    static_assert(sizeof real.szPname == std::tuple_size_v<decltype(caps.szPname)>);
    std::memcpy(caps.szPname.data(), real.szPname, sizeof real.szPname);
    caps.wTechnology = real.wTechnology;
    caps.wVoices = real.wVoices;
    caps.wNotes = real.wNotes;
    caps.wChannelMask = real.wChannelMask;
    caps.dwSupport = real.dwSupport;
    return result;
}

std::string Win32Printing::DefaultPrinter() {
    // WIN.INI's device line, "name,driver,port": every Windows keeps it,
    // where the newer printer calls start with Windows 2000.
    char device[512] = {};
    ::GetProfileStringA("windows", "device", "", device, sizeof device);
    const std::string line(device);
    return line.substr(0, line.find(','));
}

int32_t Win32Regional::GetLocaleInfoA(LCTYPE type, std::span<char> buffer) {
    return ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer.empty() ? nullptr : buffer.data(),
                            static_cast<int>(buffer.size()));
}

}  // namespace si32
