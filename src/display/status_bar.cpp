#include "display/status_bar.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>

#include "model/tables.h"
#include "selection/menus.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

constexpr int STATUS_PART_EDGES[PARTS_IN_STATUS_BAR] = {200, 430, 600, 625, 800};
constexpr int TUNING_PART = 0;
constexpr int SELECTION_PART = 1;
constexpr int FORMAT_PART = 2;
constexpr int SPARE_PART = 3;
constexpr int DIRECTION_PART = 4;

constexpr const char* SINGLE_NOTES_TEXT = "FORMATO: notas sencillas";

// A text of the tables, or "" when the selection points outside them.
const char* textOrEmpty(const char* const* text) {
  return text != nullptr && *text != nullptr ? *text : "";
}

// Formats the text into tempStr and shows it in one part of the bar.
__attribute__((format(printf, 3, 4))) void setPart(Program& program, int part,
                                                   const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(program.tempStr, sizeof program.tempStr, format, args);
  va_end(args);
  program.os.statusBar.setText(part, program.tempStr);
}

const ACC_KEYBOARD* currentTuning(const SelectionState& sel) {
  return entryAt(keyConfig, sel.keySel2);
}

void showChromatic(Program& program) {
  setPart(program, SELECTION_PART, "ESCALA: cromatica");
  setPart(program, FORMAT_PART, "%s", SINGLE_NOTES_TEXT);
  setPart(program, DIRECTION_PART, "DIRECCION: pull/push");
  setFormatMenuEnabled(program, false);
}

void showDiatonic(Program& program) {
  const SelectionState& sel = program.sel;
  const ACC_KEYBOARD* tuning = currentTuning(sel);
  const DIATONIC_SCALES* direction = entryAt(notePats, sel.direcSel2);
  const SCALE_SET* format = direction ? entryAt(direction->iFormat, sel.formatSel2) : nullptr;
  setPart(program, SELECTION_PART, "ESCALA: %s",
          textOrEmpty(tuning ? entryAt(tuning->szKeysAvailable, sel.scpIndex) : nullptr));
  setPart(program, FORMAT_PART, "%s", textOrEmpty(format ? &format->szFormat : nullptr));
  setPart(program, DIRECTION_PART, "%s", textOrEmpty(direction ? &direction->szDirec : nullptr));
  setFormatMenuEnabled(program, true);
}

void showPentatonic(Program& program) {
  const SelectionState& sel = program.sel;
  const PENT_FORMATS* family = entryAt(pentPats, sel.pentType);
  const PENT_SCALE* scale = family ? entryAt(family->pentScale, sel.scpIndex) : nullptr;
  setPart(program, SELECTION_PART, "ESCALA: %s %s",
          textOrEmpty(family ? &family->szType : nullptr),
          textOrEmpty(scale ? entryAt(scale->szName, sel.keySel2) : nullptr));
  setPart(program, FORMAT_PART, "%s", SINGLE_NOTES_TEXT);
  setPart(program, DIRECTION_PART, "DIRECCION: pull");
  setFormatMenuEnabled(program, false);
}

void showWholeTone(Program& program) {
  const SelectionState& sel = program.sel;
  const WT_FORMATS* formats = entryAt(hexPats, sel.keySel2);
  const WT_SCALE* scale = formats ? entryAt(formats->hexScale, sel.scpIndex) : nullptr;
  setPart(program, SELECTION_PART, "ESCALA: %s", textOrEmpty(scale ? &scale->szName : nullptr));
  setPart(program, FORMAT_PART, "%s", SINGLE_NOTES_TEXT);
  setPart(program, DIRECTION_PART, "DIRECCION: pull");
  setFormatMenuEnabled(program, false);
}

// "&Formato" keeps its state for chord types and progressions.
void showChordType(Program& program) {
  const ACC_CHORDS* type = entryAt(chordGroup, program.sel.scpIndex);
  setPart(program, SELECTION_PART, "ACORDES: %s",
          textOrEmpty(type ? &type->szChordType : nullptr));
  setPart(program, FORMAT_PART, "%s", "");
  setPart(program, DIRECTION_PART, "DIRECCION: pull");
}

// The kind of progression follows from the command that selected it.
const char* progressionKind(int circleSel) {
  if (circleSel >= IDM_PROG_C_MEL_1) return "circulo melodico";
  if (circleSel >= IDM_PROG_C_ARM_1) return "circulo armonico";
  return "triadas";
}

void showProgression(Program& program) {
  const SelectionState& sel = program.sel;
  const ACC_CIRCLES* progression = entryAt(circleGroup, sel.scpIndex);
  setPart(program, SELECTION_PART, "PROGRESION: %s de %s", progressionKind(sel.circleSel),
          textOrEmpty(progression ? entryAt(progression->szCircleName, sel.keySel2) : nullptr));
  setPart(program, FORMAT_PART, "%s", "");
  setPart(program, DIRECTION_PART, "DIRECCION: pull/push");
}

}  // namespace

void InitStatus(Program& program) {
  platform::StatusBar& bar = program.os.statusBar;
  bar.createBar(STATUS_PART_EDGES, PARTS_IN_STATUS_BAR, "TONO DE ACORDEON: G-C-F");
  bar.setText(SELECTION_PART, "ESCALA: G");
  bar.setText(FORMAT_PART, SINGLE_NOTES_TEXT);
  bar.setText(SPARE_PART, "");
  bar.setText(DIRECTION_PART, "DIRECCION: pull");
}

int updateStatusBar(Program& program) {
  const SelectionState& sel = program.sel;
  const ACC_KEYBOARD* tuning = currentTuning(sel);
  setPart(program, TUNING_PART, "TONO DE ACORDEON: %s",
          textOrEmpty(tuning ? &tuning->szKeyConfig : nullptr));
  switch (selectedKind(sel)) {
    case Kind::Chromatic: showChromatic(program); break;
    case Kind::Diatonic: showDiatonic(program); break;
    case Kind::Pentatonic: showPentatonic(program); break;
    case Kind::WholeTone: showWholeTone(program); break;
    case Kind::Chord: showChordType(program); break;
    case Kind::Progression: showProgression(program); break;
    case Kind::None: break;
  }
  return 0;
}

}  // namespace brenavo
