#include "display/status_bar.h"

#include <algorithm>
#include <optional>

#include "model/tables.h"
#include "selection/commands.h"
#include "selection/menus.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

constexpr int STATUS_PART_EDGES[PARTS_IN_STATUS_BAR] = {200, 430, 600, 625, 800};
constexpr int TUNING_PART = 0;
constexpr int SELECTION_PART = 1;
constexpr int FORMAT_PART = 2;
constexpr int DIRECTION_PART = 4;

constexpr const char* SINGLE_NOTES_TEXT = "FORMATO: notas sencillas";
constexpr const char* FIRST_TEXTS[PARTS_IN_STATUS_BAR] = {
    "TONO DE ACORDEON: G-C-F", "ESCALA: G", SINGLE_NOTES_TEXT, "", "DIRECCION: pull"};

// The texts one selection writes; a part without one keeps what it shows.
using PartTexts = std::array<std::optional<std::string>, PARTS_IN_STATUS_BAR>;

// A text of the tables, or "" when the selection points outside them.
std::string textOrEmpty(const char* const* text) {
  return text != nullptr && *text != nullptr ? *text : "";
}

const ACC_KEYBOARD* currentTuning(const SelectionState& sel) {
  return entryAt(keyConfig, sel.keySel2);
}

void nameChromatic(PartTexts& parts) {
  parts[SELECTION_PART] = "ESCALA: cromatica";
  parts[FORMAT_PART] = SINGLE_NOTES_TEXT;
  parts[DIRECTION_PART] = "DIRECCION: pull/push";
}

void nameDiatonic(const SelectionState& sel, PartTexts& parts) {
  const ACC_KEYBOARD* tuning = currentTuning(sel);
  const DIATONIC_SCALES* direction = entryAt(notePats, sel.direcSel2);
  const SCALE_SET* format = direction ? entryAt(direction->iFormat, sel.formatSel2) : nullptr;
  parts[SELECTION_PART] =
      "ESCALA: " + textOrEmpty(tuning ? entryAt(tuning->szKeysAvailable, sel.scpIndex) : nullptr);
  parts[FORMAT_PART] = textOrEmpty(format ? &format->szFormat : nullptr);
  parts[DIRECTION_PART] = textOrEmpty(direction ? &direction->szDirec : nullptr);
}

// A pentatonic scale is played pulling, save the steps the pull side lacks.
bool pushesAnyStep(const PENT_SCALE& scale) {
  return std::any_of(scale.iNote, scale.iNote + scale.scaleSteps,
                     [](int32_t position) { return position >= KB_BUTTONS; });
}

void namePentatonic(const SelectionState& sel, PartTexts& parts) {
  const PENT_FORMATS* family = entryAt(pentPats, sel.pentType);
  const PENT_SCALE* scale = family ? entryAt(family->pentScale, sel.scpIndex) : nullptr;
  parts[SELECTION_PART] = "ESCALA: " + textOrEmpty(family ? &family->szType : nullptr) + " " +
                          textOrEmpty(scale ? entryAt(scale->szName, sel.keySel2) : nullptr);
  parts[FORMAT_PART] = SINGLE_NOTES_TEXT;
  parts[DIRECTION_PART] =
      scale && pushesAnyStep(*scale) ? "DIRECCION: pull/push" : "DIRECCION: pull";
}

void nameWholeTone(const SelectionState& sel, PartTexts& parts) {
  const WT_FORMATS* formats = entryAt(hexPats, sel.keySel2);
  const WT_SCALE* scale = formats ? entryAt(formats->hexScale, sel.scpIndex) : nullptr;
  parts[SELECTION_PART] = "ESCALA: " + textOrEmpty(scale ? &scale->szName : nullptr);
  parts[FORMAT_PART] = SINGLE_NOTES_TEXT;
  parts[DIRECTION_PART] = "DIRECCION: pull";
}

void nameChordType(const SelectionState& sel, PartTexts& parts) {
  const ACC_CHORDS* type = entryAt(chordGroup, sel.scpIndex);
  parts[SELECTION_PART] = "ACORDES: " + textOrEmpty(type ? &type->szChordType : nullptr);
  parts[FORMAT_PART] = "";
  parts[DIRECTION_PART] = "DIRECCION: pull";
}

// The kind of progression follows from the command that selected it.
const char* progressionKind(int circleSel) {
  if (circleSel >= IDM_PROG_C_MEL_1) return "circulo melodico";
  if (circleSel >= IDM_PROG_C_ARM_1) return "circulo armonico";
  return "triadas";
}

void nameProgression(const SelectionState& sel, PartTexts& parts) {
  const ACC_CIRCLES* progression = entryAt(circleGroup, sel.scpIndex);
  parts[SELECTION_PART] =
      std::string("PROGRESION: ") + progressionKind(sel.circleSel) + " de " +
      textOrEmpty(progression ? entryAt(progression->szCircleName, sel.keySel2) : nullptr);
  parts[FORMAT_PART] = "";
  parts[DIRECTION_PART] = "DIRECCION: pull/push";
}

PartTexts partTextsOf(const SelectionState& sel) {
  PartTexts parts;
  const ACC_KEYBOARD* tuning = currentTuning(sel);
  parts[TUNING_PART] = "TONO DE ACORDEON: " + textOrEmpty(tuning ? &tuning->szKeyConfig : nullptr);
  switch (selectedKind(sel)) {
    case Kind::Chromatic: nameChromatic(parts); break;
    case Kind::Diatonic: nameDiatonic(sel, parts); break;
    case Kind::Pentatonic: namePentatonic(sel, parts); break;
    case Kind::WholeTone: nameWholeTone(sel, parts); break;
    case Kind::Chord: nameChordType(sel, parts); break;
    case Kind::Progression: nameProgression(sel, parts); break;
    case Kind::None: break;
  }
  return parts;
}

// "&Formato" is offered for the diatonic scales, greyed for the other single-note kinds,
// and keeps its state for chord types and progressions.
void offerFormatMenu(Program& program, Kind kind) {
  switch (kind) {
    case Kind::Diatonic: setFormatMenuEnabled(program, true); break;
    case Kind::Chromatic:
    case Kind::Pentatonic:
    case Kind::WholeTone: setFormatMenuEnabled(program, false); break;
    case Kind::Chord:
    case Kind::Progression:
    case Kind::None: break;
  }
}

// The selection before any command: a tuning, a bellows direction and a format.
SelectionState startingSelection(int tuning, int direction, int formatId) {
  SelectionState sel;
  sel.keySel = IDRB_GCF + tuning;
  sel.keySel2 = tuning;
  sel.direcSel = IDRB_OUT + direction;
  sel.direcSel2 = direction;
  applySelectionCommand(sel, formatId);
  return sel;
}

}  // namespace

void InitStatus(Program& program) {
  platform::StatusBar& bar = program.os.statusBar;
  bar.createBar(STATUS_PART_EDGES, PARTS_IN_STATUS_BAR, FIRST_TEXTS[TUNING_PART]);
  for (int part = TUNING_PART + 1; part < PARTS_IN_STATUS_BAR; ++part)
    bar.setText(part, FIRST_TEXTS[part]);
}

int updateStatusBar(Program& program) {
  const PartTexts parts = partTextsOf(program.sel);
  for (int part = 0; part < PARTS_IN_STATUS_BAR; ++part)
    if (parts[part]) program.os.statusBar.setText(part, *parts[part]);
  offerFormatMenu(program, selectedKind(program.sel));
  return 0;
}

std::array<std::string, PARTS_IN_STATUS_BAR> statusTextsOf(const SelectionState& sel) {
  const PartTexts parts = partTextsOf(sel);
  std::array<std::string, PARTS_IN_STATUS_BAR> texts;
  for (int part = 0; part < PARTS_IN_STATUS_BAR; ++part) texts[part] = parts[part].value_or("");
  return texts;
}

std::array<std::vector<std::string>, PARTS_IN_STATUS_BAR> everyStatusText() {
  std::array<std::vector<std::string>, PARTS_IN_STATUS_BAR> texts;
  for (int part = 0; part < PARTS_IN_STATUS_BAR; ++part) texts[part].push_back(FIRST_TEXTS[part]);
  for (int tuning = 0; tuning < static_cast<int>(std::size(keyConfig)); ++tuning)
    for (int direction = 0; direction < static_cast<int>(std::size(notePats)); ++direction)
      for (int formatId = IDM_SCALE_NOTES; formatId <= IDM_SCALE_SIXTHS; ++formatId)
        for (int id = IDM_SCALE_NOTES; id <= IDM_PROG_C_MEL_12; ++id) {
          SelectionState sel = startingSelection(tuning, direction, formatId);
          if (!applySelectionCommand(sel, id)) continue;
          const PartTexts parts = partTextsOf(sel);
          for (int part = 0; part < PARTS_IN_STATUS_BAR; ++part)
            if (parts[part]) texts[part].push_back(*parts[part]);
        }
  for (std::vector<std::string>& partTexts : texts) {
    std::sort(partTexts.begin(), partTexts.end());
    partTexts.erase(std::unique(partTexts.begin(), partTexts.end()), partTexts.end());
  }
  return texts;
}

}  // namespace brenavo
