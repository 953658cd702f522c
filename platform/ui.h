#pragma once
// User-interface services (user32, gdi32, and the few facts the program takes
// from its window system): system metrics, desktop parameters, device
// capabilities and information contexts, the screen in twips, the screen-wide
// mouse pointer, message boxes, previous-instance detection and the drive
// list's entries.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/text_helpers.h"

namespace si32 {

using HDC = uint32_t;

enum : int32_t {
    BITSPIXEL = 12,
    PLANES = 14,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
};

enum : uint32_t {
    SPIF_UPDATEINIFILE = 1,
    SPIF_SENDCHANGE = 2,
};

// The pointer argument of SystemParametersInfoA: nothing, a 32-bit value
// passed in the pointer itself (True as -1), or the address of caller memory
// together with its size, so that the service never writes past it.
using SpiPointer = std::variant<std::monostate, int32_t, std::span<std::byte>>;

// The screen as a program sees it, in twips (1440 to the inch).
struct ScreenTwips {
    float width = 0;
    float height = 0;
    float twipsPerPixelX = 0;
    float twipsPerPixelY = 0;
};

// Message box styles and answers used by the program.
enum : int32_t {
    MB_OK = 0,
    MB_ICONEXCLAMATION = 48,
    IDOK = 1,
};

// Screen-wide mouse pointers.
enum : int32_t {
    POINTER_DEFAULT = 0,
    POINTER_HOURGLASS = 11,
};

// One entry of the drive list: the drive's letter (upper case) and the name
// the list shows beside it ("" for none).
struct DriveListEntry {
    char letter = '\0';
    std::string label;
    bool operator==(const DriveListEntry&) const = default;
};

// The entry as the list shows it: "c: [LABEL]", or "c:" without a name.
inline std::string DriveListText(const DriveListEntry& entry) {
    std::string text{lowerAscii(entry.letter), ':'};
    if (!entry.label.empty()) text += " [" + entry.label + "]";
    return text;
}

class Ui {
public:
    virtual ~Ui() = default;

    // Absent indices answer 0, as the real call does.
    virtual int32_t GetSystemMetrics(int32_t index) = 0;
    // BOOL.
    virtual int32_t SystemParametersInfoA(uint32_t action, uint32_t param, SpiPointer pointer, uint32_t winIni) = 0;

    // 0 when the context cannot be made.
    virtual HDC CreateICA(std::string_view driver, std::string_view device, std::string_view output) = 0;
    virtual int32_t DeleteDC(HDC dc) = 0;
    // The device context of the program's main window.
    virtual HDC GetWindowDC() = 0;
    virtual int32_t GetDeviceCaps(HDC dc, int32_t index) = 0;

    // Raises the platform error when the screen cannot be measured.
    virtual ScreenTwips Screen() = 0;
    virtual void SetMousePointer(int32_t pointer) = 0;
    // Returns the button pressed (IDOK). An empty title shows the
    // application's default title.
    virtual int32_t MsgBox(std::string_view prompt, int32_t style, std::string_view title) = 0;
    // Another instance of the program is running.
    virtual bool PrevInstance() = 0;
    // The drive list's entries in order. Never touches a volume.
    virtual std::vector<DriveListEntry> DriveListEntries() = 0;
};

// What the drawing side (the Qt window, or the report) supplies to the
// platform: the real screen, the pointer and message boxes.
struct ScreenFacts {
    int32_t widthPx = 0, heightPx = 0;
    double dpiX = 96, dpiY = 96;
    int32_t bitsPerPixel = 0, planes = 1;
    int32_t workLeft = 0, workTop = 0, workRight = 0, workBottom = 0;
    int32_t virtualLeft = 0, virtualTop = 0, virtualWidth = 0, virtualHeight = 0;
    int32_t monitors = 0;
    int32_t iconSize = 32, smallIconSize = 16;
    int32_t scrollBarExtent = 0, titleBarHeight = 0, frameWidth = 0, menuHeight = 0;
    // The desktop's own font (what a Windows desktop calls the icon-title
    // font), where the drawing side can tell it; fontFace empty when not.
    std::string fontFace;
    int32_t fontHeightPx = 0;  // character height, pixels
    int32_t fontWeight = 0;    // 100 to 900, 400 regular
    bool fontItalic = false;
};

class Frontend {
public:
    virtual ~Frontend() = default;
    virtual int32_t ShowMessage(std::string_view prompt, int32_t style, std::string_view title) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    // nullopt when no screen can be reached.
    virtual std::optional<ScreenFacts> Screen() = 0;
    // The height of a one-menu bar in device pixels, asked for apart from
    // the screen: a drawing side may have to build a menu bar to know it,
    // which a start that shows none should not pay for. 0 when unknown.
    virtual int32_t MenuHeight() {
        const std::optional<ScreenFacts> facts = Screen();
        return facts ? facts->menuHeight : 0;
    }
};

}  // namespace si32
