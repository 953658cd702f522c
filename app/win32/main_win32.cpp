// si32.exe: the start-up sequence behind the native Windows window.
//
// SI32_EXIT_AFTER_FIRST_PAINT=1 ends the program once the window's first
// frame is drawn; SI32_SCREENSHOT=file.bmp saves the window as it stands on
// the screen shortly after start-up has ended, then ends the program;
// SI32_SHOWN_CONTROLS=file.json writes at that moment what every control
// shows, read back from the controls, in the report's terms.
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/program_start.h"
#include "app/session.h"
#include "app/win32/win32_frontend.h"
#include "app/win32/win32_screenshot.h"
#include "app/win32/win32_window.h"
#include "app/win32/windows_api.h"
#include "platform/platform.h"
#include "platform/terminal_text.h"

namespace {

constexpr UINT kCaptureDelayMs = 300;

std::string fileNamed(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr ? value : "";
}

// What the test hooks ask for once start-up has settled.
struct Captures {
    std::string screenshot = fileNamed("SI32_SCREENSHOT");
    std::string controls = fileNamed("SI32_SHOWN_CONTROLS");
    bool wanted() const { return !screenshot.empty() || !controls.empty(); }
};

// True when every capture asked for was written.
bool capture(const si32::Win32Window& window, const Captures& captures) {
    bool written = true;
    if (!captures.screenshot.empty() && !si32::saveScreenshot(window.handle(), captures.screenshot)) {
        si32::PrintErrorLine("si32: cannot write the screenshot " + captures.screenshot);
        written = false;
    }
    if (!captures.controls.empty()) {
        std::ofstream out(captures.controls, std::ios::binary);
        out << window.shownControls().dump(2) << '\n';
        if (!out) {
            si32::PrintErrorLine("si32: cannot write " + captures.controls);
            written = false;
        }
    }
    return written;
}

// The manifest asks for the monitor's own density; a system that reads no
// manifest is asked here, where it has the call.
void awareOfDensity() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    if (user == nullptr) return;
    const auto context =
        reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (context != nullptr && context(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
    const auto aware = reinterpret_cast<SetAware>(reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
    if (aware != nullptr) aware();
}

// The loop of the window; a thread timer (no window) takes the captures.
int runLoop(si32::Win32Window& window, const Captures& captures) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == nullptr && captures.wanted()) {
            KillTimer(nullptr, message.wParam);
            return capture(window, captures) ? 0 : 1;
        }
        if (window.preview(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int run() {
    using namespace si32;
    Win32Frontend frontend;
    BackendStart start = StartBackend(frontend, Program::Window, "si32");
    if (!start.backend) return start.exitStatus;
    std::unique_ptr<Backend> backend = std::move(start.backend);
    Session session(backend->platform());
    Win32Window window(session, frontend);
    const Captures captures;
    window.onSettled = [&] {
        if (captures.wanted()) SetTimer(nullptr, 0, kCaptureDelayMs, nullptr);
    };
    if (si32::SwitchedOn("SI32_EXIT_AFTER_FIRST_PAINT")) window.onFirstPaint = [] { PostQuitMessage(0); };
    if (!window.start()) return 0;
    return runLoop(window, captures);
}

const si32::CommandLine kWindowCommandLine{
    "si32",
    "Opens the Tarvello System Information window with the facts of this machine.",
    {},
    "SI32_MACHINE=file.json (or a demo machine's name, si32-report --list-machines)\n"
    "shows a simulated machine. Escape ends the program.\n",
};

}  // namespace

int main(int argc, char** argv) {
    if (const int status = si32::HandleCommandLine(kWindowCommandLine, argc, argv); status >= 0) return status;
    awareOfDensity();
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    try {
        return run();
    } catch (const std::exception& e) {
        si32::PrintErrorLine(std::string("si32: ") + e.what());
        return 1;
    }
}
