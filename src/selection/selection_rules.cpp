#include "selection/selection_rules.h"

#include "model/tables.h"

namespace brenavo {

namespace {

constexpr int32_t TRIAD_PROGRESSION_ROWS = 12;  // rows 0-11 of circleGroup

}  // namespace

void clearKinds(SelectionState& sel) {
  sel.chromaticSel = 0;
  sel.diatonicSel = 0;
  sel.pentatonicSel = 0;
  sel.wholeToneSel = 0;
  sel.chordSel = 0;
  sel.circleSel = 0;
}

int32_t progressionSteps(int32_t row) {
  return row < TRIAD_PROGRESSION_ROWS ? COLS_PROGS_3 : COLS_PROGS_4;
}

int32_t stepsOfSelection(const SelectionState& sel) {
  if (sel.chromaticSel != 0) return COLS_CHROMATIC;
  if (sel.diatonicSel != 0)
    return notePats[sel.direcSel2].iFormat[sel.formatSel2].iScale[sel.scpIndex].scaleSteps;
  if (sel.pentatonicSel != 0) return pentPats[sel.pentType].pentScale[sel.scpIndex].scaleSteps;
  if (sel.wholeToneSel != 0) return COLS_WHOLETONE;
  if (sel.chordSel != 0) return COLS_CHORDS;
  if (sel.circleSel != 0) return progressionSteps(sel.scpIndex);
  return DIATONIC_MAX_STEPS;
}

}  // namespace brenavo
