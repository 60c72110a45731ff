#pragma once
// The stored place of the terminal's windows as the windows take and give it: the main window and the source
// window keep their places the same way. GUI thread only.
#include <string>
#include <vector>

#include "gui/Forms.h"
#include "shell/WindowPlace.h"

namespace kes {

// The place to store when the form closes: where it stands, or its normal place when it is minimised.
TWindowPlace SavedPlaceOf(TCustomForm& form);

// Puts the form at a stored place; a place off every monitor (one was removed) comes onto the nearest one.
void RestorePlace(TCustomForm& form, const TWindowPlace& place);

// Shows once which settings could not be written (nothing when all were); the caller closes on.
void ReportUnsavedSettings(const std::vector<std::string>& failed, TCustomForm* owner);

}  // namespace kes
