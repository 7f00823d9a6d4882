#include "playback/sequencer.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "model/tables.h"
#include "playback/midi.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

using platform::Surface;

constexpr int32_t NO_POSITION = -1;
static_assert(CHORD_MAX_NOTES <= NOTE_SLOTS, "every note of a chord needs a slot");

bool within(int32_t index, int32_t size) { return index >= 0 && index < size; }

// Whether an index lies inside a table.
template <typename T, size_t N>
bool within(int32_t index, const T (&)[N]) {
  return within(index, static_cast<int32_t>(N));
}
bool isPosition(int32_t position) { return within(position, KB_POSITIONS); }

// The surface and tuning one step draws and sounds with.
struct Step {
  Program& program;
  Surface& surface;
  const ACC_KEYBOARD& tuning;
};

void noteOn(Program& program, int32_t note) {
  if (program.sel.midiDevExists) MidiNoteOn(program.os.midi, CHANNEL_NUM, note, VELOCITY);
}

void noteOff(Program& program, int32_t note) {
  if (program.sel.midiDevExists) MidiNoteOff(program.os.midi, CHANNEL_NUM, note, 0);
}

void drawButton(const Step& step, int32_t position, int32_t x, int32_t y) {
  displayNote(step.surface, step.tuning.szNoteName[position], x, y, NOTEBUTTON);
}

// The previous step's button in a slot back to its normal look, then its note off.
void releaseSlot(const Step& step, int slot) {
  const SequencerState& seq = step.program.seq;
  if (!isPosition(seq.prevNotes[slot])) return;
  drawButton(step, seq.prevNotes[slot], seq.prevButXs[slot], seq.prevButYs[slot]);
  noteOff(step.program, seq.prevMidis[slot]);
}

void fillSlot(const Step& step, int slot, int32_t position) {
  SequencerState& seq = step.program.seq;
  seq.curNotes[slot] = position;
  seq.curButXs[slot] = buttonX(step.program, position);
  seq.curButYs[slot] = buttonY(step.program, position);
  seq.curMidis[slot] = step.tuning.midiKeyNum[position];
}

// Drawn with whatever fill is selected (the highlight during an attack), then sounded.
void attackSlot(const Step& step, int slot) {
  const SequencerState& seq = step.program.seq;
  drawButton(step, seq.curNotes[slot], seq.curButXs[slot], seq.curButYs[slot]);
  noteOn(step.program, seq.curMidis[slot]);
}

void rememberSlot(SequencerState& seq, int slot) {
  seq.prevNotes[slot] = seq.curNotes[slot];
  seq.prevButXs[slot] = seq.curButXs[slot];
  seq.prevButYs[slot] = seq.curButYs[slot];
  seq.prevMidis[slot] = seq.curMidis[slot];
}

void selectHighlight(const Step& step) {
  DrawingResources& res = step.program.res;
  res.hDefBrush = step.surface.selectBrush(res.hButtonHighlightBrush);
}

void restoreFill(const Step& step) { step.surface.selectBrush(step.program.res.hDefBrush); }

void beginBlock(const Step& step) {
  DrawingResources& res = step.program.res;
  res.hDefPen = step.surface.selectPen(res.hButtonOutlinePen);
  res.hDefFont = step.surface.selectFont(res.hNotesFont);
  step.surface.setBkMode(platform::TRANSPARENT);
}

void endBlock(const Step& step) {
  const DrawingResources& res = step.program.res;
  step.surface.selectPen(res.hDefPen);
  step.surface.selectBrush(res.hDefBrush);
  step.surface.selectFont(res.hDefFont);
}

// One voice of a single-note kind in one slot. `position` is the table entry of the
// current step, NO_POSITION when the step lies outside the table.
void playVoice(const Step& step, int slot, int32_t position) {
  const SelectionState& sel = step.program.sel;
  if (sel.scalePoint > 0) releaseSlot(step, slot);
  if (sel.scalePoint < sel.scaleSteps && isPosition(position)) {
    fillSlot(step, slot, position);
    selectHighlight(step);
    attackSlot(step, slot);
    restoreFill(step);
    rememberSlot(step.program.seq, slot);
  }
}

int32_t chromaticPosition(const SelectionState& sel) {
  const auto& row = scalePatternChromatic[sel.keySel2];
  return within(sel.scalePoint, row) ? row[sel.scalePoint] : NO_POSITION;
}

int32_t wholeTonePosition(const SelectionState& sel) {
  const WT_FORMATS& scales = hexPats[sel.keySel2];
  if (!within(sel.scpIndex, scales.hexScale)) return NO_POSITION;
  const WT_SCALE& scale = scales.hexScale[sel.scpIndex];
  return within(sel.scalePoint, scale.iNote) ? scale.iNote[sel.scalePoint] : NO_POSITION;
}

const NOTE_SEQUENCE* diatonicSequence(const SelectionState& sel) {
  if (!within(sel.direcSel2, notePats) || !within(sel.formatSel2, notePats[0].iFormat) ||
      !within(sel.scpIndex, notePats[0].iFormat[0].iScale))
    return nullptr;
  return &notePats[sel.direcSel2].iFormat[sel.formatSel2].iScale[sel.scpIndex];
}

int32_t voicePosition(const int32_t (&voice)[DIATONIC_MAX_STEPS], int32_t point) {
  return within(point, voice) ? voice[point] : NO_POSITION;
}

// The first voice complete, then the second one of thirds and sixths.
void playDiatonic(const Step& step) {
  const SelectionState& sel = step.program.sel;
  const NOTE_SEQUENCE* sequence = diatonicSequence(sel);
  playVoice(step, 0, sequence ? voicePosition(sequence->note1, sel.scalePoint) : NO_POSITION);
  if (isTwoVoiceFormat(sel.formatSel))
    playVoice(step, 1, sequence ? voicePosition(sequence->note2, sel.scalePoint) : NO_POSITION);
}

// A row of the selected chord type or progression; nullptr outside the selection's rows.
using ChordLookup = const CHORD* (*)(const SelectionState& sel, int32_t row);

const CHORD* chordTypeRow(const SelectionState& sel, int32_t row) {
  if (!within(sel.scpIndex, chordGroup) || !within(row, chordGroup[0].iChord)) return nullptr;
  return &chordGroup[sel.scpIndex].iChord[row];
}

// A triad progression has three chords; its fourth row is empty and has no terminator.
const CHORD* progressionRow(const SelectionState& sel, int32_t row) {
  if (!within(sel.scpIndex, circleGroup)) return nullptr;
  if (!within(row, progressionSteps(sel.scpIndex))) return nullptr;
  return &circleGroup[sel.scpIndex].iChord[row];
}

// The release counts its slots again on the previous row. A Pause that falls between the
// releasing step and the end of a run leaves scalePoint at scaleSteps + 1; the step that
// follows then counts on the last row of the run, scaleSteps - 1, and so repeats the
// release of the last chord (already white and silent) instead of reading past the run.
void releaseChord(const Step& step, ChordLookup lookup) {
  const SelectionState& sel = step.program.sel;
  const int32_t row = std::min(sel.scalePoint - 1, sel.scaleSteps - 1);
  const CHORD* previous = lookup(sel, row);
  if (previous == nullptr) return;
  const int slots = chordNoteCount(*previous);
  for (int slot = 0; slot < slots; ++slot) releaseSlot(step, slot);
}

// Every slot filled, then drawn and sounded in slot order, then remembered.
void attackChord(const Step& step, ChordLookup lookup) {
  const CHORD* current = lookup(step.program.sel, step.program.sel.scalePoint);
  if (current == nullptr) return;
  const int slots = chordNoteCount(*current);
  for (int slot = 0; slot < slots; ++slot) fillSlot(step, slot, current->iNote[slot]);
  selectHighlight(step);
  for (int slot = 0; slot < slots; ++slot) attackSlot(step, slot);
  restoreFill(step);
  for (int slot = 0; slot < slots; ++slot) rememberSlot(step.program.seq, slot);
}

void playChords(const Step& step, ChordLookup lookup) {
  const SelectionState& sel = step.program.sel;
  if (sel.scalePoint > 0) releaseChord(step, lookup);
  if (sel.scalePoint < sel.scaleSteps) attackChord(step, lookup);
}

template <typename Body>
void runBlock(const Step& step, Body body) {
  beginBlock(step);
  body();
  endBlock(step);
}

}  // namespace

void playScaleChordCircle(Program& program) {
  const SelectionState& sel = program.sel;
  // keySel2 picks the tuning, and with it the chromatic and whole-tone rows.
  if (!within(sel.keySel2, keyConfig)) return;
  std::unique_ptr<Surface> surface = program.os.window.getDC();
  if (!surface) return;
  const Step step{program, *surface, keyConfig[sel.keySel2]};

  switch (selectedKind(sel)) {
    case Kind::Chromatic: runBlock(step, [&] { playVoice(step, 0, chromaticPosition(sel)); }); break;
    case Kind::WholeTone: runBlock(step, [&] { playVoice(step, 0, wholeTonePosition(sel)); }); break;
    case Kind::Diatonic: runBlock(step, [&] { playDiatonic(step); }); break;
    case Kind::Chord: runBlock(step, [&] { playChords(step, chordTypeRow); }); break;
    case Kind::Progression: runBlock(step, [&] { playChords(step, progressionRow); }); break;
    case Kind::None:
    case Kind::Pentatonic: break;
  }
}

}  // namespace brenavo
