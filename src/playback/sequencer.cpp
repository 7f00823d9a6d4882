#include "playback/sequencer.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "live/live_play.h"
#include "model/tables.h"
#include "playback/midi.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

using platform::Surface;

constexpr int32_t NO_POSITION = -1;
static_assert(CHORD_MAX_NOTES <= NOTE_SLOTS, "every note of a chord needs a slot");

bool isPosition(int32_t position) { return position >= 0 && position < KB_POSITIONS; }

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

// The button's cell is blanked first and the button drawn on it as a paint draws it: a
// circle drawn over the old one would darken its soft edge a little more at every step.
void drawButton(const Step& step, const SequencerSlot& slot) {
  step.surface.copyBlank(slot.x - BUTTON_CELL_HALF, slot.y - BUTTON_CELL_HALF,
                         slot.x + BUTTON_CELL_HALF + 1, slot.y + BUTTON_CELL_HALF + 1);
  displayNote(step.surface, step.tuning.szNoteName[slot.note], slot.x, slot.y, NOTEBUTTON);
  drawKeyCaption(step.program, step.surface, slot.note);
}

// The previous step's button in a slot back to its normal look, then its note off.
void releaseSlot(const Step& step, int slot) {
  SequencerSlot& previous = step.program.seq.prev[slot];
  if (!isPosition(previous.note)) return;
  drawButton(step, previous);
  previous.lit = false;
  noteOff(step.program, previous.midi);
}

void fillSlot(const Step& step, int slot, int32_t position) {
  step.program.seq.cur[slot] = {position, buttonX(step.program, position),
                                buttonY(step.program, position), step.tuning.midiKeyNum[position]};
}

// Drawn with whatever fill is selected (the highlight during an attack), then sounded.
void attackSlot(const Step& step, int slot) {
  SequencerSlot& current = step.program.seq.cur[slot];
  drawButton(step, current);
  current.lit = true;
  noteOn(step.program, current.midi);
}

void rememberSlot(SequencerState& seq, int slot) { seq.prev[slot] = seq.cur[slot]; }

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

// The entry of a table of positions at an index; NO_POSITION outside the table.
template <size_t N>
int32_t positionAt(const int32_t (&positions)[N], int32_t index) {
  const int32_t* position = entryAt(positions, index);
  return position ? *position : NO_POSITION;
}

int32_t chromaticPosition(const SelectionState& sel) {
  return positionAt(scalePatternChromatic[sel.keySel2], sel.scalePoint);
}

int32_t wholeTonePosition(const SelectionState& sel) {
  const WT_SCALE* scale = entryAt(hexPats[sel.keySel2].hexScale, sel.scpIndex);
  return scale ? positionAt(scale->iNote, sel.scalePoint) : NO_POSITION;
}

int32_t pentatonicPosition(const SelectionState& sel) {
  const PENT_FORMATS* family = entryAt(pentPats, sel.pentType);
  const PENT_SCALE* scale = family ? entryAt(family->pentScale, sel.scpIndex) : nullptr;
  return scale ? positionAt(scale->iNote, sel.scalePoint) : NO_POSITION;
}

const NOTE_SEQUENCE* diatonicSequence(const SelectionState& sel) {
  const DIATONIC_SCALES* direction = entryAt(notePats, sel.direcSel2);
  const SCALE_SET* format = direction ? entryAt(direction->iFormat, sel.formatSel2) : nullptr;
  return format ? entryAt(format->iScale, sel.scpIndex) : nullptr;
}

// The first voice complete, then the second one of thirds and sixths.
void playDiatonic(const Step& step) {
  const SelectionState& sel = step.program.sel;
  const NOTE_SEQUENCE* sequence = diatonicSequence(sel);
  playVoice(step, 0, sequence ? positionAt(sequence->note1, sel.scalePoint) : NO_POSITION);
  if (isTwoVoiceFormat(sel.formatSel))
    playVoice(step, 1, sequence ? positionAt(sequence->note2, sel.scalePoint) : NO_POSITION);
}

// A row of the selected chord type or progression; nullptr outside the selection's rows.
using ChordLookup = const CHORD* (*)(const SelectionState& sel, int32_t row);

const CHORD* chordTypeRow(const SelectionState& sel, int32_t row) {
  const ACC_CHORDS* type = entryAt(chordGroup, sel.scpIndex);
  return type ? entryAt(type->iChord, row) : nullptr;
}

// A triad progression has three chords; its fourth row is empty and has no terminator.
const CHORD* progressionRow(const SelectionState& sel, int32_t row) {
  const ACC_CIRCLES* progression = entryAt(circleGroup, sel.scpIndex);
  if (progression == nullptr || row >= progressionSteps(sel.scpIndex)) return nullptr;
  return entryAt(progression->iChord, row);
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
  const ACC_KEYBOARD* tuning = entryAt(keyConfig, sel.keySel2);
  if (tuning == nullptr) return;
  std::unique_ptr<Surface> surface = program.os.window.getDC();
  if (!surface) return;
  const Step step{program, *surface, *tuning};

  switch (selectedKind(sel)) {
    case Kind::Chromatic: runBlock(step, [&] { playVoice(step, 0, chromaticPosition(sel)); }); break;
    case Kind::WholeTone: runBlock(step, [&] { playVoice(step, 0, wholeTonePosition(sel)); }); break;
    case Kind::Diatonic: runBlock(step, [&] { playDiatonic(step); }); break;
    case Kind::Pentatonic: runBlock(step, [&] { playVoice(step, 0, pentatonicPosition(sel)); }); break;
    case Kind::Chord: runBlock(step, [&] { playChords(step, chordTypeRow); }); break;
    case Kind::Progression: runBlock(step, [&] { playChords(step, progressionRow); }); break;
    case Kind::None: break;
  }
}

}  // namespace brenavo
