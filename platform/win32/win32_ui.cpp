#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/run_time_error.h"
#include "platform/win32/win32_services.h"

// After windows.h, which it needs.
#include <winnetwk.h>

namespace si32 {
namespace {

constexpr HDC kWindowDc = 0x0100;
// More than any record an action reads or writes (the wallpaper's path is
// the largest).
constexpr std::size_t kSpiScratch = 1024;

// Empty texts are the null pointers the program passes as vbNullString.
const char* orNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// The share a network drive stands for ("\\server\share"), which the drive
// list shows as its label; asking never touches the server.
std::string networkName(char letter) {
    const std::string local{letter, ':'};
    char remote[MAX_PATH] = {};
    DWORD size = sizeof remote;
    if (WNetGetConnectionA(local.c_str(), remote, &size) != NO_ERROR) return {};
    return remote;
}

}  // namespace

Win32Ui::Win32Ui(Frontend& frontend, Program program, Win32Kernel& kernel)
    : frontend_(frontend), program_(program), kernel_(kernel) {}

Win32Ui::~Win32Ui() {
    for (const auto& [number, dc] : contexts_) ::DeleteDC(dc);
    if (screen_ != nullptr) ::ReleaseDC(nullptr, screen_);
    if (instance_ != nullptr) CloseHandle(instance_);
}

int32_t Win32Ui::GetSystemMetrics(int32_t index) { return ::GetSystemMetrics(index); }

int32_t Win32Ui::SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) {
    if (const auto* value = std::get_if<int32_t>(&pointer))
        return ::SystemParametersInfoA(action, param, reinterpret_cast<void*>(static_cast<INT_PTR>(*value)), winIni);
    const auto* memory = std::get_if<std::span<std::byte>>(&pointer);
    if (memory == nullptr) return ::SystemParametersInfoA(action, param, nullptr, winIni);
    // The call writes as much as its action's record holds, whatever memory
    // the caller has: it writes here, and the caller gets what fits.
    std::array<std::byte, kSpiScratch> scratch{};
    const std::size_t shown = std::min(memory->size(), scratch.size());
    std::copy_n(memory->begin(), shown, scratch.begin());
    const int32_t result = ::SystemParametersInfoA(action, param, scratch.data(), winIni);
    std::copy_n(scratch.begin(), shown, memory->begin());
    return result;
}

HDC Win32Ui::CreateICA(std::string_view driver, std::string_view device, std::string_view output) {
    const std::string d(driver), v(device), o(output);
    const ::HDC dc = ::CreateICA(orNull(d), orNull(v), orNull(o), nullptr);
    if (dc == nullptr) return 0;
    const HDC number = next_++;
    contexts_[number] = dc;
    return number;
}

int32_t Win32Ui::DeleteDC(HDC dc) {
    const auto found = contexts_.find(dc);
    if (found == contexts_.end()) return 0;
    const BOOL ok = ::DeleteDC(found->second);
    contexts_.erase(found);
    return ok ? 1 : 0;
}

HDC Win32Ui::GetWindowDC() {
    // The window's context answers the screen's capabilities; the screen's
    // serves a program without a window as well.
    if (screen_ == nullptr) screen_ = ::GetDC(nullptr);
    return screen_ != nullptr ? kWindowDc : 0;
}

int32_t Win32Ui::GetDeviceCaps(HDC dc, int32_t index) {
    if (dc == kWindowDc && screen_ != nullptr) return ::GetDeviceCaps(screen_, index);
    const auto found = contexts_.find(dc);
    return found == contexts_.end() ? 0 : ::GetDeviceCaps(found->second, index);
}

ScreenTwips Win32Ui::Screen() {
    const ::HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) raise(ErrorKind::PlatformFailure, "the screen cannot be measured");
    const int width = ::GetDeviceCaps(dc, HORZRES), height = ::GetDeviceCaps(dc, VERTRES);
    const int dpiX = ::GetDeviceCaps(dc, LOGPIXELSX), dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    if (width <= 0 || height <= 0 || dpiX <= 0 || dpiY <= 0)
        raise(ErrorKind::PlatformFailure, "the screen cannot be measured");
    // Whole twips per pixel, as the runtime's screen object has them.
    const auto perPixelX = static_cast<float>(std::max(1, 1440 / dpiX));
    const auto perPixelY = static_cast<float>(std::max(1, 1440 / dpiY));
    return {static_cast<float>(width) * perPixelX, static_cast<float>(height) * perPixelY, perPixelX, perPixelY};
}

void Win32Ui::SetMousePointer(int32_t pointer) { frontend_.SetBusyPointer(pointer == POINTER_HOURGLASS); }

int32_t Win32Ui::MsgBox(std::string_view prompt, int32_t style, std::string_view title) {
    return frontend_.ShowMessage(prompt, style, title);
}

bool Win32Ui::PrevInstance() {
    // Only windows exclude one another: reports are taken side by side.
    if (program_ == Program::Report) return false;
    if (!instanceAsked_) {
        instanceAsked_ = true;
        // Per session, as the name without a namespace is.
        instance_ = CreateMutexA(nullptr, FALSE, "Si32.Window.Instance");
        previous_ = instance_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return previous_;
}

std::vector<DriveListEntry> Win32Ui::DriveListEntries() {
    std::vector<DriveListEntry> entries;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        const char letter = static_cast<char>('A' + i);
        const std::string root{letter, ':', '\\'};
        std::string label;
        // A removable or CD drive is never asked: its medium may be out.
        switch (::GetDriveTypeA(root.c_str())) {
            case DRIVE_FIXED:
            case DRIVE_RAMDISK: label = kernel_.VolumeLabel(letter); break;
            case DRIVE_REMOTE: label = networkName(letter); break;
            default: break;
        }
        entries.push_back({letter, std::move(label)});
    }
    return entries;
}

}  // namespace si32
