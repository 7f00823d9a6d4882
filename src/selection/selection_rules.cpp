#include "selection/selection_rules.h"

#include <iterator>

#include "model/tables.h"

namespace brenavo {

namespace {

constexpr int32_t TRIAD_PROGRESSION_ROWS = 12;  // rows 0-11 of circleGroup

// The last row of the largest table, the progressions: the chromatic scale (or no
// selection) keeps its row for a later format command, which must stay within it.
constexpr int32_t LAST_TABLE_ROW = static_cast<int32_t>(std::size(circleGroup)) - 1;

// A radio-button or command id within its set, and its index the id's distance from the first.
bool pairConsistent(int32_t id, int32_t index, int32_t first, int32_t last) {
  return inRange(id, first, last) && index == id - first;
}

int kindsSet(const SelectionState& s) {
  return (s.chromaticSel != 0) + (s.diatonicSel != 0) + (s.pentatonicSel != 0) +
         (s.wholeToneSel != 0) + (s.chordSel != 0) + (s.circleSel != 0);
}

bool pentatonicConsistent(const SelectionState& s) {
  if (!inRange(s.pentatonicSel, IDM_SCALE_PENT_1, IDM_SCALE_PENT_BLUES_12)) return false;
  const PentatonicRow pentatonic = pentatonicRowOf(s.pentatonicSel);
  return s.pentType == pentatonic.family && s.scpIndex == pentatonic.row;
}

// The kind global that is set holds a command of its kind and the row that command names.
bool kindConsistent(const SelectionState& s) {
  switch (selectedKind(s)) {
    case Kind::Chromatic: return s.chromaticSel == 1;
    case Kind::Diatonic:
      return pairConsistent(s.diatonicSel, s.scpIndex, IDM_SCALE_1, IDM_SCALE_12m);
    case Kind::Pentatonic: return pentatonicConsistent(s);
    case Kind::WholeTone:
      return pairConsistent(s.wholeToneSel, s.scpIndex, IDM_SCALE_WT0, IDM_SCALE_WT1);
    case Kind::Chord:
      return pairConsistent(s.chordSel, s.scpIndex, IDM_CHORDS_MAJOR, IDM_CHORDS_7_DOM_B5);
    case Kind::Progression:
      return pairConsistent(s.circleSel, s.scpIndex, IDM_PROG_TRIAD_1, IDM_PROG_C_MEL_12);
    case Kind::None: break;
  }
  return true;
}

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

int selectionCommand(const SelectionState& sel) {
  switch (selectedKind(sel)) {
    case Kind::Chromatic: return IDM_SCALE_CHROMATIC;
    case Kind::Diatonic: return sel.diatonicSel;
    case Kind::Pentatonic: return sel.pentatonicSel;
    case Kind::WholeTone: return sel.wholeToneSel;
    case Kind::Chord: return sel.chordSel;
    case Kind::Progression: return sel.circleSel;
    case Kind::None: break;
  }
  return 0;
}

bool selectionConsistent(const SelectionState& sel) {
  return kindsSet(sel) <= 1 && kindConsistent(sel) && inRange(sel.scpIndex, 0, LAST_TABLE_ROW) &&
         pairConsistent(sel.keySel, sel.keySel2, IDRB_GCF, IDRB_ADG) &&
         pairConsistent(sel.direcSel, sel.direcSel2, IDRB_OUT, IDRB_MIXED) &&
         pairConsistent(sel.formatSel, sel.formatSel2, IDM_SCALE_NOTES, IDM_SCALE_SIXTHS) &&
         inRange(sel.pentType, 0, 2);
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
