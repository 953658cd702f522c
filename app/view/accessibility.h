#pragma once
// What a screen reader learns of the window's own widgets through Qt's stock
// accessibility interfaces: a frame is a group named by its caption, a meter
// a progress bar whose value is its percentage.
namespace si32 {

// Registers the interfaces with Qt; once is enough, more is harmless.
void installAccessibleInterfaces();

}  // namespace si32
