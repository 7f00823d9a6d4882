// The commands that change the selection.
#pragma once

#include "app/program.h"

namespace brenavo {

// Formats 201-203, chromatic 204, diatonic 210-214 and 222-226 (the rows with a
// fingering; 215-221 are greyed and refused), pentatonic 234-269, whole-tone
// 270-271, chord types 300-310, progressions 400-435. Each ends with the status-bar
// refresh and a full repaint. Returns false (and changes nothing) for any other id, and
// for every id while a run plays or is paused.
bool handleSelectionCommand(Program& program, int commandId);

// What the command does to the selection alone, without the refresh and the repaint;
// false (and nothing changed) for any id that is no selection command.
bool applySelectionCommand(SelectionState& sel, int commandId);

}  // namespace brenavo
