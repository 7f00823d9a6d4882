#include "practice/practice_steps.h"

#include <algorithm>

#include "display/note_labels.h"
#include "model/tables.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

bool isButton(int32_t position) {
  return position >= 0 && position < KB_POSITIONS && !isLabelSlot(position);
}

struct StepBuilder {
  const ACC_KEYBOARD& tuning;
  std::vector<PracticeStep> steps;

  void add(const int32_t* positions, int count) {
    PracticeStep step;
    for (int i = 0; i < count && step.count < NOTE_SLOTS; ++i) {
      if (!isButton(positions[i])) continue;
      step.positions[step.count] = positions[i];
      step.notes[step.count++] = tuning.midiKeyNum[positions[i]];
    }
    if (step.count > 0) steps.push_back(step);
  }
  template <size_t N>
  void addSingles(const int32_t (&positions)[N], int32_t count) {
    for (int32_t i = 0; i < count && i < static_cast<int32_t>(N); ++i) add(&positions[i], 1);
  }
  void addChord(const CHORD& chord) { add(chord.iNote, chordNoteCount(chord)); }
};

void addDiatonic(StepBuilder& builder, const SelectionState& sel) {
  const DIATONIC_SCALES* direction = entryAt(notePats, sel.direcSel2);
  const SCALE_SET* format = direction ? entryAt(direction->iFormat, sel.formatSel2) : nullptr;
  const NOTE_SEQUENCE* sequence = format ? entryAt(format->iScale, sel.scpIndex) : nullptr;
  if (sequence == nullptr) return;
  const bool twoVoices = isTwoVoiceFormat(sel.formatSel);
  for (int32_t i = 0; i < sel.scaleSteps && i < DIATONIC_MAX_STEPS; ++i) {
    const int32_t voices[] = {sequence->note1[i], sequence->note2[i]};
    builder.add(voices, twoVoices ? 2 : 1);
  }
}

void addPentatonic(StepBuilder& builder, const SelectionState& sel) {
  const PENT_FORMATS* family = entryAt(pentPats, sel.pentType);
  const PENT_SCALE* scale = family ? entryAt(family->pentScale, sel.scpIndex) : nullptr;
  if (scale) builder.addSingles(scale->iNote, sel.scaleSteps);
}

void addWholeTone(StepBuilder& builder, const SelectionState& sel) {
  const WT_SCALE* scale = entryAt(hexPats[sel.keySel2].hexScale, sel.scpIndex);
  if (scale) builder.addSingles(scale->iNote, sel.scaleSteps);
}

void addChordType(StepBuilder& builder, const SelectionState& sel) {
  const ACC_CHORDS* type = entryAt(chordGroup, sel.scpIndex);
  if (type == nullptr) return;
  for (int32_t row = 0; row < sel.scaleSteps && row < COLS_CHORDS; ++row)
    builder.addChord(type->iChord[row]);
}

void addProgression(StepBuilder& builder, const SelectionState& sel) {
  const ACC_CIRCLES* progression = entryAt(circleGroup, sel.scpIndex);
  if (progression == nullptr) return;
  const int32_t rows = std::min(sel.scaleSteps, progressionSteps(sel.scpIndex));
  for (int32_t row = 0; row < rows; ++row) builder.addChord(progression->iChord[row]);
}

}  // namespace

std::vector<PracticeStep> practiceSteps(const SelectionState& sel) {
  const ACC_KEYBOARD* tuning = entryAt(keyConfig, sel.keySel2);
  if (tuning == nullptr) return {};
  StepBuilder builder{*tuning, {}};
  switch (selectedKind(sel)) {
    case Kind::Chromatic:
      builder.addSingles(scalePatternChromatic[sel.keySel2], sel.scaleSteps);
      break;
    case Kind::Diatonic: addDiatonic(builder, sel); break;
    case Kind::Pentatonic: addPentatonic(builder, sel); break;
    case Kind::WholeTone: addWholeTone(builder, sel); break;
    case Kind::Chord: addChordType(builder, sel); break;
    case Kind::Progression: addProgression(builder, sel); break;
    case Kind::None: break;
  }
  return std::move(builder.steps);
}

}  // namespace brenavo
