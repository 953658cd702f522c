#include "platform/win32/win32_backend.h"

#include "platform/win32/win32_services.h"

namespace si32 {
namespace {

class Win32Backend final : public Backend {
public:
    Win32Backend(Frontend& frontend, Program program)
        : ui_(frontend, program, kernel_), platform_{kernel_,     registry_, shell_,    ui_,
                                                     multimedia_, files_,    printing_, regional_} {
        // An empty floppy or CD drive fails the call instead of asking the
        // user to insert a disk; a missing file likewise.
        SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    }

    Platform& platform() override { return platform_; }

private:
    Win32Kernel kernel_;
    Win32Registry registry_;
    Win32Shell shell_;
    Win32Ui ui_;
    Win32Multimedia multimedia_;
    Win32Files files_;
    Win32Printing printing_;
    Win32Regional regional_;
    Platform platform_;
};

}  // namespace

std::unique_ptr<Backend> makeWin32Backend(Frontend& frontend, Program program) {
    return std::make_unique<Win32Backend>(frontend, program);
}

std::string programsDirectory() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return {};
    std::string exe(path, n);
    const std::size_t slash = exe.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::optional<ScreenFacts> queryWin32Screen() {
    const ::HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) return std::nullopt;
    ScreenFacts facts;
    facts.widthPx = ::GetDeviceCaps(dc, HORZRES);
    facts.heightPx = ::GetDeviceCaps(dc, VERTRES);
    facts.dpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
    facts.dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
    facts.bitsPerPixel = ::GetDeviceCaps(dc, BITSPIXEL);
    facts.planes = ::GetDeviceCaps(dc, PLANES);
    ::ReleaseDC(nullptr, dc);
    RECT work{};
    if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        facts.workLeft = work.left;
        facts.workTop = work.top;
        facts.workRight = work.right;
        facts.workBottom = work.bottom;
    }
    facts.virtualLeft = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    facts.virtualTop = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    facts.virtualWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    facts.virtualHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    facts.monitors = ::GetSystemMetrics(SM_CMONITORS);
    facts.iconSize = ::GetSystemMetrics(SM_CXICON);
    facts.smallIconSize = ::GetSystemMetrics(SM_CXSMICON);
    facts.scrollBarExtent = ::GetSystemMetrics(SM_CXVSCROLL);
    facts.titleBarHeight = ::GetSystemMetrics(SM_CYCAPTION);
    facts.frameWidth = ::GetSystemMetrics(SM_CXFRAME);
    facts.menuHeight = ::GetSystemMetrics(SM_CYMENU);
    LOGFONTA font{};
    if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) {
        facts.fontFace = font.lfFaceName;
        facts.fontHeightPx = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
        facts.fontWeight = font.lfWeight;
        facts.fontItalic = font.lfItalic != 0;
    }
    return facts;
}

}  // namespace si32
