#pragma once
// The main window si9x as a plain control model: the handlers write it, the
// Qt view and the report read it. No drawing and no platform calls here.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ui.h"
#include "window/control.h"

namespace si32 {

class Si9x {
public:
    Si9x();

    // Window placement in twips; the outer size includes border and title
    // bar. The view sets the outer size from its real frame before load.
    int32_t Left = 1608;
    int32_t Top = 1824;
    int32_t OuterWidth = 9480 + 2 * 45;
    int32_t OuterHeight = 8280 + 2 * 45 + 270;
    void Move(int32_t left, int32_t top);

    std::vector<Control>& controls() { return controls_; }
    const std::vector<Control>& controls() const { return controls_; }

    // Throws std::out_of_range for a name the window does not have: that is
    // a programming error, not a run-time one.
    Control& control(std::string_view name, int32_t index = -1);
    const Control& control(std::string_view name, int32_t index = -1) const;
    Control& Label1(int32_t i) { return control("Label1", i); }
    Control& Label2(int32_t i) { return control("Label2", i); }
    Control& Label3(int32_t i) { return control("Label3", i); }

    // The drive list: its entries and the current one, whose text the
    // control shows.
    std::vector<DriveListEntry> Drive1Entries;
    const std::string& Drive1Drive() const { return control("Drive1").text; }
    const DriveListEntry& Drive1Current() const { return drive1Current_; }
    // Makes entry the current one without raising Drive1Change, as the
    // list does when it first fills.
    void ShowDrive1(const DriveListEntry& entry);
    // Selects the entry whose drive letter is the first character of drive
    // (case does not matter). Raises the run-time error when no entry has
    // that letter; raises Drive1Change only when the drive changes.
    void SetDrive1(std::string_view drive);
    std::function<void()> Drive1Change;

    // Which control has the keyboard focus ("" for none).
    std::string Focused;
    void SetFocus(std::string_view name);

    // Set when the program is to end at once; the view then closes all.
    bool Ended = false;
    std::function<void()> OnEnd;
    void End();

private:
    std::vector<Control> controls_;
    std::unordered_map<std::string, std::size_t> byKey_;
    DriveListEntry drive1Current_;
};

}  // namespace si32
