#pragma once
// What a screen reader learns of the window's own widgets through Qt's
// accessibility interfaces: the window is a frame, a section frame a group
// named by its caption, a value field static text labelled by its row's
// caption (and the caption labelling it), the drive list a combo box named
// by its accessible name, a meter a read-only progress bar whose name
// carries its percentage.
namespace si32 {

// Registers the interfaces with Qt; once is enough, more is harmless.
void installAccessibleInterfaces();

}  // namespace si32
