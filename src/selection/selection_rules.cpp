#include "selection/selection_rules.h"

#include "model/tables.h"

namespace brenavo {

namespace {

constexpr int32_t TRIAD_PROGRESSION_ROWS = 12;  // rows 0-11 of circleGroup

}  // namespace

Kind selectedKind(const SelectionState& sel) {
  if (sel.chromaticSel != 0) return Kind::Chromatic;
  if (sel.diatonicSel != 0) return Kind::Diatonic;
  if (sel.pentatonicSel != 0) return Kind::Pentatonic;
  if (sel.wholeToneSel != 0) return Kind::WholeTone;
  if (sel.chordSel != 0) return Kind::Chord;
  if (sel.circleSel != 0) return Kind::Progression;
  return Kind::None;
}

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
  switch (selectedKind(sel)) {
    case Kind::Chromatic: return COLS_CHROMATIC;
    case Kind::Diatonic:
      return notePats[sel.direcSel2].iFormat[sel.formatSel2].iScale[sel.scpIndex].scaleSteps;
    case Kind::Pentatonic: return pentPats[sel.pentType].pentScale[sel.scpIndex].scaleSteps;
    case Kind::WholeTone: return COLS_WHOLETONE;
    case Kind::Chord: return COLS_CHORDS;
    case Kind::Progression: return progressionSteps(sel.scpIndex);
    case Kind::None: break;
  }
  return DIATONIC_MAX_STEPS;
}

}  // namespace brenavo
