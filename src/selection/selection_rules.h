// Rules every part that sets or checks a selection shares.
#pragma once

#include <cstdint>

#include "selection/selection_state.h"

namespace brenavo {

// The six kinds of selection, and none.
enum class Kind { None, Chromatic, Diatonic, Pentatonic, WholeTone, Chord, Progression };

// The kind whose global is non-zero (the first of chromatic, diatonic, pentatonic,
// whole-tone, chords, progressions; the commands and the loader keep at most one set).
Kind selectedKind(const SelectionState& sel);

// The menu command that made the current selection; 0 when nothing is selected.
int selectionCommand(const SelectionState& sel);

// True when the selection is one the commands and the options dialog could make: at most
// one kind global set, holding a command of its kind, with the row that command names (a
// pentatonic row of its family; a diatonic row that holds a fingering); the chromatic flag 1;
// the row within the largest table; the tuning, direction and format pairs agreeing and
// in range; the pentatonic family 0-2. The step count, tempo and voice are not looked at.
bool selectionConsistent(const SelectionState& sel);

// Clears the six kind globals: nothing is selected afterwards.
void clearKinds(SelectionState& sel);

// The chords of a progression row: three for the triad rows 0-11, four for the others.
int32_t progressionSteps(int32_t row);

// The steps of the current kind and row: chromatic and whole-tone 13, diatonic the
// sequence's own, pentatonic 11, chord types 12, progressions 3 or 4; 15 with nothing
// selected. The kind and row must name an entry of their table.
int32_t stepsOfSelection(const SelectionState& sel);

}  // namespace brenavo
