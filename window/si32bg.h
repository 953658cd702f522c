#pragma once
// The backdrop window si32bg: an empty window with the main window's caption,
// border and size that stands in its place while the facts are collected.
#include <cstdint>
#include <functional>

namespace si32 {

class Ui;

class Si32Bg {
public:
    bool Loaded = false;
    bool Visible = false;
    int32_t Left = 0;
    int32_t Top = 0;

    // Loading sets the screen-wide hourglass, as the main window's load does.
    void Load(Ui& ui);
    void Show(Ui& ui);
    void Move(int32_t left, int32_t top);
    void Refresh();
    void Unload();

    // The view follows every change at once: the load step does not yield,
    // so nothing else would repaint the backdrop.
    std::function<void()> Changed;

private:
    void notify() {
        if (Changed) Changed();
    }
};

}  // namespace si32
