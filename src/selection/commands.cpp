#include "selection/commands.h"

#include "model/tables.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

// Every selection ends with the status bar refreshed and the whole window repainted.
void finish(Program& program) {
  SendCommand(program, IDM_UPDATE_STATUS_BAR);
  program.os.window.invalidate();
}

// The format commands make the diatonic scale of the current row the selection. After a
// chord type or progression the row may lie past the 24 rows of a format; then the first
// major scale is taken instead.
void selectFormat(SelectionState& sel, int id) {
  sel.formatSel = id;
  sel.formatSel2 = id - IDM_SCALE_NOTES;
  if (!hasDiatonicFingering(sel.scpIndex)) sel.scpIndex = 0;
  clearKinds(sel);
  sel.diatonicSel = IDM_SCALE_1 + sel.scpIndex;
  sel.scaleSteps = stepsOfSelection(sel);
}

void selectChromatic(SelectionState& sel) {
  sel.formatSel = IDM_SCALE_NOTES;
  sel.formatSel2 = 0;
  clearKinds(sel);
  sel.chromaticSel = 1;
  sel.scaleSteps = stepsOfSelection(sel);
}

// A kind whose command ids name its rows in order from `firstId`: the diatonic scales,
// whole-tone scales, chord types and progressions.
void selectRow(SelectionState& sel, int32_t SelectionState::*kind, int id, int firstId) {
  clearKinds(sel);
  sel.*kind = id;
  sel.scpIndex = id - firstId;
  sel.scaleSteps = stepsOfSelection(sel);
}

void selectPentatonic(SelectionState& sel, int id) {
  clearKinds(sel);
  sel.pentatonicSel = id;
  const PentatonicRow pentatonic = pentatonicRowOf(id);
  sel.pentType = pentatonic.family;
  sel.scpIndex = pentatonic.row;
  sel.scaleSteps = stepsOfSelection(sel);
}

}  // namespace

bool applySelectionCommand(SelectionState& sel, int id) {
  if (id == IDM_SCALE_CHROMATIC) {
    selectChromatic(sel);
  } else if (inRange(id, IDM_SCALE_NOTES, IDM_SCALE_SIXTHS)) {
    selectFormat(sel, id);
  } else if (inRange(id, IDM_SCALE_1, IDM_SCALE_12m)) {
    selectRow(sel, &SelectionState::diatonicSel, id, IDM_SCALE_1);
  } else if (inRange(id, IDM_SCALE_PENT_1, IDM_SCALE_PENT_BLUES_12)) {
    selectPentatonic(sel, id);
  } else if (inRange(id, IDM_SCALE_WT0, IDM_SCALE_WT1)) {
    selectRow(sel, &SelectionState::wholeToneSel, id, IDM_SCALE_WT0);
  } else if (inRange(id, IDM_CHORDS_MAJOR, IDM_CHORDS_7_DOM_B5)) {
    selectRow(sel, &SelectionState::chordSel, id, IDM_CHORDS_MAJOR);
  } else if (inRange(id, IDM_PROG_TRIAD_1, IDM_PROG_C_MEL_12)) {
    selectRow(sel, &SelectionState::circleSel, id, IDM_PROG_TRIAD_1);
  } else {
    return false;
  }
  return true;
}

bool handleSelectionCommand(Program& program, int commandId) {
  // The menus are greyed while a run plays or is paused; a selection that still arrives
  // then would change the pattern under the sequencer, whose next step releases the
  // buttons of the new pattern's row and leaves the old chord's extra notes sounding.
  if (program.sel.ctrlPlay || program.sel.ctrlPause) return false;
  if (!applySelectionCommand(program.sel, commandId)) return false;
  finish(program);
  return true;
}

}  // namespace brenavo
