#pragma once
// The main window si9x as a native Win32 window. It draws the control model
// and hands every event to the model's handlers, as the Qt view does on
// Linux; what the program does is decided there, never here.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/session.h"
#include "app/win32/win32_placement.h"
#include "app/win32/windows_api.h"
#include "window/control.h"

namespace si32 {

class Win32Backdrop;
class Win32Frontend;

class Win32Window {
public:
    Win32Window(Session& session, Win32Frontend& frontend);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Gives the model the real outer size, runs the load handler and shows
    // the window where the model placed it. False when the load ended the
    // program: the window is then never shown.
    bool start();
    // Key preview and the dialog keys (Tab, access keys) for one message of
    // the loop; true when it was handled and is not to be dispatched.
    bool preview(MSG& message);
    // Redraws every control from the model.
    void sync();

    HWND handle() const { return window_; }
    // Every control as it is drawn ({"Label2(0)": {"text": ..., "visible":
    // ...}}), read back from the native controls in the report's terms; the
    // one with the keyboard focus says so ("focused": true).
    nlohmann::ordered_json shownControls() const;
    // Called once start-up has ended: at the first activation, or shortly
    // after the first paint where the display never activates the window.
    std::function<void()> onSettled;
    // Called after the window's first paint.
    std::function<void()> onFirstPaint;

private:
    struct Bound {
        std::size_t control;
        HWND window;
        std::string shownText;  // what the control shows, so a redraw only writes a change
        std::string shownTip;   // what its tooltip shows, "" for none
    };

    // win32_controls.cpp
    void build();
    HWND makeControl(const Control& control, int id);
    RECT placeOf(const Control& control) const;
    void layout();
    // win32_fit.cpp
    void makeFont();
    void fitToText(const Bound& bound);
    // A value field too small for its text, which then ends in an ellipsis.
    bool isCut(const Bound& bound) const;
    // win32_tips.cpp
    void makeTips();
    void showTip(Bound& bound, const std::string& tip);
    int px(int32_t twips) const { return MulDiv(twips, dpi_, 1440); }
    // win32_window.cpp
    void syncControl(Bound& bound);
    void syncDriveList();
    void setText(Bound& bound, const std::string& text);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT colourOf(::HDC dc, HWND control);
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // win32_events.cpp
    void forward(const std::function<void()>& handler, bool focusFromModel = false);
    void applyFocus();
    void command(int id, int code);
    void pickDrive(int row);
    void activated();
    void painted();
    void settle();
    void endNow();
    // win32_start.cpp
    void dpiChanged(int dpi, const RECT& suggested);
    // The monitor's own density where the system tells it per window.
    void adoptWindowDpi();
    SIZE outerSize() const;
    void tellOuterSize();
    POINT onScreen(int32_t left, int32_t top) const;

    Session& session_;
    Win32Frontend& frontend_;
    int dpi_ = 96;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HWND tips_ = nullptr;
    ScreenMap screen_;
    bool started_ = false;
    bool painted_ = false;
    bool settled_ = false;
    std::unique_ptr<Win32Backdrop> backdrop_;
    std::vector<Bound> bound_;
    std::unordered_map<std::string, HWND> byKey_;
    HWND driveList_ = nullptr;
    std::vector<DriveListEntry> driveEntries_;
};

// A label that shows a fact, not a caption or a heading.
inline bool isValueField(const Control& control) {
    return control.kind == ControlKind::Label && !control.autoSize && control.alignment == Align::Left;
}

// Control ids count from here, in the order of the model's controls.
inline constexpr int kFirstControlId = 100;

// The window's style: a fixed dialog frame that cannot be resized. Not
// clipping its children: a group box draws only its edge and caption, and
// the window's own background is what shows inside it.
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace si32
