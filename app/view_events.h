#pragma once
// How a view of the window (the Qt one, the native Windows one) hands an
// event to the model's handlers.
#include <functional>
#include <vector>

#include "platform/ui.h"

namespace si32 {

class Si9x;

// Runs handler unless the program has ended. Handlers guard their own
// statements; a failure that still escapes one is skipped like any other
// failed statement rather than ending the program from inside the view's
// event loop. True when the view is to draw the model again (the program
// goes on); focusMoved then says whether the handler moved the focus.
bool HandleEvent(Si9x& form, const std::function<void()>& handler, bool& focusMoved);

// The user's pick of the drive list's row-th entry, as the list shows
// entries; nothing for a row it does not have.
void PickDrive(Si9x& form, const std::vector<DriveListEntry>& entries, int row);

}  // namespace si32
