#include "app/view/key_codes.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace si32 {
namespace {

// Keys whose Qt code differs from their virtual-key code.
constexpr std::array<std::pair<int, int32_t>, 27> kNamedKeys = {{
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},      {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},      {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20},    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},     {Qt::Key_Left, 37},     {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},     {Qt::Key_Print, 44},    {Qt::Key_Insert, 45},      {Qt::Key_Delete, 46},
    {Qt::Key_Menu, 93},     {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
}};

constexpr int32_t kVkNumpad0 = 96;
constexpr int32_t kVkF1 = 112;

}  // namespace

int32_t windowsKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    // Letters and digits share their codes with Windows (A is 65, 0 is 48).
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (event.modifiers() & Qt::KeypadModifier) return kVkNumpad0 + (key - Qt::Key_0);
        return key;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return kVkF1 + (key - Qt::Key_F1);
    for (const auto& [qtKey, code] : kNamedKeys)
        if (qtKey == key) return code;
    return 0;
}

}  // namespace si32
