#include "selection/commands.h"

#include "model/tables.h"

namespace brenavo {

namespace {

bool inRange(int id, int first, int last) { return id >= first && id <= last; }

// Only the first five major (0-4) and minor (12-16) rows of a format hold scales.
bool isFilledDiatonicRow(int row) { return inRange(row, 0, 4) || inRange(row, 12, 16); }

void clearKinds(SelectionState& sel) {
  sel.chromaticSel = 0;
  sel.diatonicSel = 0;
  sel.pentatonicSel = 0;
  sel.wholeToneSel = 0;
  sel.chordSel = 0;
  sel.circleSel = 0;
}

int32_t diatonicSteps(const SelectionState& sel) {
  return notePats[sel.direcSel2].iFormat[sel.formatSel2].iScale[sel.scpIndex].scaleSteps;
}

// Every selection ends with the status bar refreshed and the whole window repainted.
void finish(Program& program) {
  SendCommand(program, IDM_UPDATE_STATUS_BAR);
  program.os.window.invalidate();
}

// The format commands make the diatonic scale of the current row the selection. After a
// chord type or progression the row may be a placeholder or lie past the 24 rows of a
// format; then the first major scale is taken instead.
void selectFormat(SelectionState& sel, int id) {
  sel.formatSel = id;
  sel.formatSel2 = id - IDM_SCALE_NOTES;
  if (!isFilledDiatonicRow(sel.scpIndex)) sel.scpIndex = 0;
  clearKinds(sel);
  sel.diatonicSel = IDM_SCALE_1 + sel.scpIndex;
  sel.scaleSteps = diatonicSteps(sel);
}

void selectChromatic(SelectionState& sel) {
  sel.formatSel = IDM_SCALE_NOTES;
  sel.formatSel2 = 0;
  clearKinds(sel);
  sel.chromaticSel = 1;
  sel.scaleSteps = COLS_CHROMATIC;
}

void selectDiatonic(SelectionState& sel, int id) {
  clearKinds(sel);
  sel.diatonicSel = id;
  sel.scpIndex = id - IDM_SCALE_1;
  sel.scaleSteps = diatonicSteps(sel);
}

void selectPentatonic(SelectionState& sel, int id) {
  clearKinds(sel);
  sel.pentatonicSel = id;
  if (id >= IDM_SCALE_PENT_BLUES_1) {
    sel.scpIndex = id - IDM_SCALE_PENT_BLUES_1;
    sel.pentType = 2;
  } else if (id >= IDM_SCALE_PENT_1m) {
    sel.scpIndex = id - IDM_SCALE_PENT_1m;
    sel.pentType = 1;
  } else {
    sel.scpIndex = id - IDM_SCALE_PENT_1;
    sel.pentType = 0;
  }
  sel.scaleSteps = pentPats[sel.pentType].pentScale[sel.scpIndex].scaleSteps;
}

void selectWholeTone(SelectionState& sel, int id) {
  clearKinds(sel);
  sel.wholeToneSel = id;
  sel.scpIndex = id - IDM_SCALE_WT0;
  sel.scaleSteps = COLS_WHOLETONE;
}

void selectChordType(SelectionState& sel, int id) {
  clearKinds(sel);
  sel.chordSel = id;
  sel.scpIndex = id - IDM_CHORDS_MAJOR;
  sel.scaleSteps = COLS_CHORDS;
}

void selectProgression(SelectionState& sel, int id) {
  clearKinds(sel);
  sel.circleSel = id;
  sel.scpIndex = id - IDM_PROG_TRIAD_1;
  sel.scaleSteps = id <= IDM_PROG_TRIAD_12 ? COLS_PROGS_3 : COLS_PROGS_4;
}

// Applies the command to the selection; false when the id is no selection command.
bool applySelection(SelectionState& sel, int id) {
  if (id == IDM_SCALE_CHROMATIC) {
    selectChromatic(sel);
  } else if (inRange(id, IDM_SCALE_NOTES, IDM_SCALE_SIXTHS)) {
    selectFormat(sel, id);
  } else if (inRange(id, IDM_SCALE_1, IDM_SCALE_5m)) {
    selectDiatonic(sel, id);
  } else if (inRange(id, IDM_SCALE_PENT_1, IDM_SCALE_PENT_BLUES_12)) {
    selectPentatonic(sel, id);
  } else if (inRange(id, IDM_SCALE_WT0, IDM_SCALE_WT1)) {
    selectWholeTone(sel, id);
  } else if (inRange(id, IDM_CHORDS_MAJOR, IDM_CHORDS_7_DOM_B5)) {
    selectChordType(sel, id);
  } else if (inRange(id, IDM_PROG_TRIAD_1, IDM_PROG_C_MEL_12)) {
    selectProgression(sel, id);
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool handleSelectionCommand(Program& program, int commandId) {
  // The menus are greyed while a run plays or is paused; a selection that still arrives
  // then would change the pattern under the sequencer, whose next step releases the
  // buttons of the new pattern's row and leaves the old chord's extra notes sounding.
  if (program.sel.ctrlPlay || program.sel.ctrlPause) return false;
  if (!applySelection(program.sel, commandId)) return false;
  finish(program);
  return true;
}

}  // namespace brenavo
