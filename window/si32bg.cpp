#include "window/si32bg.h"

#include "platform/guarded.h"
#include "platform/ui.h"

namespace si32 {

void Si32Bg::Load(Ui& ui) {
    if (Loaded) return;
    Loaded = true;
    guarded([&] { ui.SetMousePointer(POINTER_HOURGLASS); });
    notify();
}

void Si32Bg::Show(Ui& ui) {
    Load(ui);
    Visible = true;
    notify();
}

void Si32Bg::Move(int32_t left, int32_t top) {
    Left = left;
    Top = top;
    notify();
}

void Si32Bg::Refresh() { notify(); }

void Si32Bg::Unload() {
    if (!Loaded) return;
    Loaded = false;
    Visible = false;
    notify();
}

}  // namespace si32
