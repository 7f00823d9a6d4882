// What every loaded selection must satisfy, and a whole life of the program over it:
// creation (load, menus, status bar), a paint, one complete run, destruction (save).
#pragma once

#include <string>

#include "fakes/recording_platform.h"
#include "platform/platform.h"
#include "selection/selection_state.h"

namespace brenavo::fuzz {

// Prints what broke and aborts, so that the fuzzer keeps the input that did it.
void require(bool holds, const std::string& what);

// The first rule of a valid selection that `s` breaks, or "" when it breaks none.
std::string selectionBreach(const SelectionState& s);

// The seventeen values the program saves, equal in both.
bool sameSavedValues(const SelectionState& a, const SelectionState& b);

// Creates the main window over `services` (whose store holds the settings to load),
// checks the loaded selection, paints, plays the selection from start to end, and
// destroys the window, which saves. `fake` is the recording side of `services`.
// Returns the selection as it stood when it was saved.
SelectionState runProgramOnce(platform::Platform& services, fakes::RecordingPlatform& fake);

}  // namespace brenavo::fuzz
