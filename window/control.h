#pragma once
// One control of a window as the handlers see it: a plain record that the
// view draws. Geometry is in twips, relative to the container's client area.
#include <cstdint>
#include <string>

namespace si32 {

enum class ControlKind { Frame, Meter, Label, TextBox, DriveList, Button };
enum class Align { Left, Right };

struct Geometry {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Geometry&) const = default;
};

struct Control {
    std::string name;
    int32_t index = -1;  // -1 for a control that is not a member of an array
    ControlKind kind = ControlKind::Label;
    std::string container;  // "" for the window itself
    Geometry geometry;
    int32_t tabIndex = 0;
    Align alignment = Align::Left;
    bool autoSize = false;
    bool wordWrap = false;

    std::string text;     // caption of a label, frame, meter or button; a text box's text
    std::string tooltip;  // "" when none is set
    bool visible = true;
    int32_t percent = 0;  // meters only

    // "Label2(27)" for an array member, "Drive1" otherwise.
    std::string key() const { return index < 0 ? name : name + "(" + std::to_string(index) + ")"; }
    bool operator==(const Control&) const = default;
};

}  // namespace si32
