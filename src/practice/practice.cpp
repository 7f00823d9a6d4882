#include "practice/practice.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "model/tables.h"
#include "playback/midi.h"
#include "practice/practice_steps.h"
#include "selection/menus.h"

namespace brenavo {

namespace {

using platform::Brush;
using platform::Pen;
using platform::Surface;

constexpr platform::Colour RIGHT_GREEN = platform::rgb(110, 225, 110);
constexpr platform::Colour WRONG_RED = platform::rgb(225, 0, 0);
constexpr int RING_WIDTH = 4;
constexpr int RIGHT_MOMENT_MS = 300;   // how long a right step stays green in the wait mode
constexpr int COUNT_IN_BEATS = 4;
// The listener needs up to 150 ms to be sure of a step; an eighth of a step on top of
// that is still on time.
constexpr double DETECTION_ALLOWANCE_MS = 150;
// The count-in clicks: a wood block on the percussion channel, the first beat higher.
constexpr int32_t CLICK_CHANNEL = 9;
constexpr int32_t CLICK_FIRST = 76;
constexpr int32_t CLICK_OTHERS = 77;
constexpr int32_t CLICK_VELOCITY = 100;

// Semitones from a note to its partials 2 to 10, each within 40 cents of a note, and how
// salient a note must be to count as sounding.
constexpr int PARTIAL_INTERVALS[] = {12, 19, 24, 28, 31, 34, 36, 38, 40};
constexpr float SOUNDING = 0.15f;

constexpr const char* NO_ANALYSIS_TEXT =
    "No se puede escuchar: falta la biblioteca de analisis de sonido (aubio).\n\n"
    "Instale el paquete libaubio5 y vuelva a intentarlo.";
constexpr const char* NO_INPUT_TEXT =
    "No se puede escuchar: no hay ninguna entrada de sonido (microfono) o el acceso a ella "
    "esta denegado.\n\nConecte un microfono o permita el acceso y vuelva a intentarlo.";
constexpr const char* PRACTICE_CAPTION = "Brenavo: Practicar";
constexpr int PRACTICE_STATUS_PART = 2;

bool holdsNote(const PracticeStep& step, int note) {
  return std::find(step.notes, step.notes + step.count, note) != step.notes + step.count;
}

bool holdsPosition(const PracticeStep& step, int position) {
  return std::find(step.positions, step.positions + step.count, position) !=
         step.positions + step.count;
}

// A reed's partial is no note of its own while the note it belongs to sounds; an octave
// played alone, without the note below, is one.
bool isPartialOfASoundingNote(const listening::Hearing& hearing, int note) {
  return std::ranges::any_of(PARTIAL_INTERVALS, [&](int interval) {
    return note >= interval && hearing.salience[static_cast<size_t>(note - interval)] >= SOUNDING;
  });
}

// The step before still rings (its reeds, the room) while the next one begins.
bool isFromStep(const PracticeStep& step, int note) {
  return holdsNote(step, note) || std::ranges::any_of(PARTIAL_INTERVALS, [&](int interval) {
           return holdsNote(step, note - interval);
         });
}

bool stepIsLit(const PracticeState& practice) {
  return practice.mode != PracticeMode::Off && practice.countInBeats == 0 &&
         practice.current < static_cast<int>(practice.steps.size());
}

const PracticeStep* currentStep(const PracticeState& practice) {
  return stepIsLit(practice) ? &practice.steps[static_cast<size_t>(practice.current)] : nullptr;
}

// ---- drawing: a button as practice shows it now

Brush fillOf(const Program& program, int position) {
  const PracticeStep* step = currentStep(program.practice);
  if (step == nullptr || !holdsPosition(*step, position)) return program.res.hButtonBGBrush;
  return program.practice.showingRight ? Brush{RIGHT_GREEN} : program.res.hButtonHighlightBrush;
}

Pen outlineOf(const Program& program, int position) {
  const int ringed = program.practice.ringedNote;
  if (ringed >= 0 && keyConfig[program.sel.keySel2].midiKeyNum[position] == ringed)
    return Pen{RING_WIDTH, WRONG_RED};
  return program.res.hButtonOutlinePen;
}

void drawButton(Program& program, Surface& surface, int position) {
  const int x = buttonX(program, position);
  const int y = buttonY(program, position);
  surface.copyBlank(x - BUTTON_CELL_HALF, y - BUTTON_CELL_HALF, x + BUTTON_CELL_HALF + 1,
                    y + BUTTON_CELL_HALF + 1);
  const Pen pen = surface.selectPen(outlineOf(program, position));
  const Brush brush = surface.selectBrush(fillOf(program, position));
  const platform::Font font = surface.selectFont(program.res.hNotesFont);
  const int mode = surface.setBkMode(platform::TRANSPARENT);
  displayNote(surface, keyConfig[program.sel.keySel2].szNoteName[position], x, y, NOTEBUTTON);
  surface.setBkMode(mode);
  surface.selectFont(font);
  surface.selectBrush(brush);
  surface.selectPen(pen);
}

void drawStep(Program& program, Surface& surface, const PracticeStep& step) {
  for (int i = 0; i < step.count; ++i) drawButton(program, surface, step.positions[i]);
}

// Every button of both diagrams that sounds the note.
void drawNoteButtons(Program& program, Surface& surface, int note) {
  if (note < 0) return;
  const ACC_KEYBOARD& tuning = keyConfig[program.sel.keySel2];
  for (int position = 0; position < KB_POSITIONS; ++position)
    if (!isLabelSlot(position) && tuning.midiKeyNum[position] == note)
      drawButton(program, surface, position);
}

template <typename Draw>
void drawNow(Program& program, Draw draw) {
  if (std::unique_ptr<Surface> surface = program.os.window.getDC()) draw(*surface);
}

void redrawStep(Program& program, int index) {
  PracticeState& practice = program.practice;
  if (index < 0 || index >= static_cast<int>(practice.steps.size())) return;
  drawNow(program, [&](Surface& surface) {
    drawStep(program, surface, practice.steps[static_cast<size_t>(index)]);
  });
}

// Moves the red ring to another note (-1: no ring).
void ringNote(Program& program, int note) {
  const int old = std::exchange(program.practice.ringedNote, note);
  if (old == note) return;
  drawNow(program, [&](Surface& surface) {
    drawNoteButtons(program, surface, old);
    drawNoteButtons(program, surface, note);
  });
}

// ---- status bar, menus, clicks

void showStatus(Program& program, const std::string& text) {
  program.os.statusBar.setText(PRACTICE_STATUS_PART, text);
}

void showStepNumber(Program& program) {
  const PracticeState& practice = program.practice;
  showStatus(program, "PRACTICA: paso " + std::to_string(practice.current + 1) + " de " +
                          std::to_string(practice.steps.size()));
}

// While practising only "Terminar practica" can be chosen; otherwise all but it.
void offerPracticeMenu(Program& program, bool practising) {
  EnableMenuBar(program, practising ? 0 : 1);
  EnableMenuItem(program.menu, PRACTICE_MENU, true);
  if (Menu* practice = GetSubMenu(program.menu, PRACTICE_MENU)) {
    for (int position = 0; position < GetMenuItemCount(*practice); ++position) {
      const bool isStop = practice->items[static_cast<size_t>(position)].id == IDM_PRACTICE_STOP;
      EnableMenuItem(*practice, position, practising == isStop);
    }
  }
  program.os.menuBar.redraw(program.menu);
}

void click(Program& program, bool firstBeat) {
  if (!program.sel.midiDevExists) return;
  const int32_t note = firstBeat ? CLICK_FIRST : CLICK_OTHERS;
  MidiNoteOn(program.os.midi, CLICK_CHANNEL, note, CLICK_VELOCITY);
  MidiNoteOff(program.os.midi, CLICK_CHANNEL, note, 0);
}

int stepPeriodMs(const Program& program) { return program.sel.vPos * TIMER_MILLISECS; }

// ---- listening

void listenTo(Program& program, const float* mono, std::size_t frames, int sampleRate) {
  PracticeState& practice = program.practice;
  if (practice.mode == PracticeMode::Off || sampleRate <= 0) return;
  if (!practice.detector || practice.detectorRate != sampleRate) {
    practice.detector =
        std::make_unique<listening::Detector>(sampleRate, practice.options.referenceA);
    practice.detectorRate = sampleRate;
  }
  std::vector<listening::Hearing> hearings;
  practice.detector->feed(mono, frames, hearings);
  for (const listening::Hearing& hearing : hearings) {
    if (practice.mode == PracticeMode::Off) break;
    SendMessage(program, WM_PRACTICE_HEARD, 0, reinterpret_cast<intptr_t>(&hearing));
  }
}

bool startListening(Program& program) {
  program.practice.detector.reset();
  return program.os.audioInput.start(
      program.practice.options.input,
      [&program](const float* mono, std::size_t frames, int sampleRate) {
        listenTo(program, mono, frames, sampleRate);
      });
}

// ---- the course of a practice

// The microphone and the timer stop and everything looks as before the practice.
void leavePractice(Program& program) {
  PracticeState& practice = program.practice;
  program.os.audioInput.stop();
  program.os.timer.killTimer(IDM_PRACTICE_TIMER);
  practice.mode = PracticeMode::Off;
  practice.showingRight = false;
  practice.ringedNote = -1;
  offerPracticeMenu(program, false);
  program.os.window.invalidate();
  SendCommand(program, IDM_UPDATE_STATUS_BAR);
}

void saveResults(Program& program) {
  platform::KeyStore& store = program.os.keyStore;
  if (store.openOrCreate() == platform::KeyStore::Disposition::Failed) return;
  store.writeString(resultsName(program.sel).c_str(), practiceResultsLine(program).c_str());
  store.closeKey();
}

void finishPractice(Program& program) {
  leavePractice(program);
  saveResults(program);
  program.os.messages.messageBox(practiceSummary(program), "Brenavo: Resultado de la practica",
                                 MB_OK);
}

// The next step lights, or the practice ends after the last one.
void advance(Program& program) {
  PracticeState& practice = program.practice;
  const int done = practice.current++;
  practice.showingRight = false;
  practice.suspectHearings = 0;
  ringNote(program, -1);
  redrawStep(program, done);
  if (practice.current >= static_cast<int>(practice.steps.size())) {
    finishPractice(program);
    return;
  }
  redrawStep(program, practice.current);
  showStepNumber(program);
}

void start(Program& program, PracticeMode mode) {
  PracticeState& practice = program.practice;
  const SelectionState& sel = program.sel;
  if (practice.mode != PracticeMode::Off || sel.ctrlPlay || sel.ctrlPause) return;
  practice.steps = practiceSteps(sel);
  if (practice.steps.empty()) return;
  loadListeningOptions(program);
  if (!listening::Detector::available()) {
    program.os.messages.messageBox(NO_ANALYSIS_TEXT, PRACTICE_CAPTION, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!startListening(program)) {
    program.os.messages.messageBox(NO_INPUT_TEXT, PRACTICE_CAPTION, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  practice.mode = mode;
  practice.results.assign(practice.steps.size(), StepResult{});
  practice.current = 0;
  practice.beatMs = 0;
  practice.suspectHearings = 0;
  practice.countInBeats = mode == PracticeMode::Tempo ? COUNT_IN_BEATS : 0;
  offerPracticeMenu(program, true);
  if (mode == PracticeMode::Wait) {
    redrawStep(program, 0);
    showStepNumber(program);
    return;
  }
  click(program, true);
  showStatus(program, "PRACTICA: 1...");
  program.os.timer.setTimer(IDM_PRACTICE_TIMER, stepPeriodMs(program));
}

// One beat of the count-in: a click for the first four, then the first step.
void countIn(Program& program) {
  PracticeState& practice = program.practice;
  const int beat = COUNT_IN_BEATS - --practice.countInBeats + 1;
  if (practice.countInBeats > 0) {
    click(program, false);
    showStatus(program, "PRACTICA: " + std::to_string(beat) + "...");
    return;
  }
  redrawStep(program, 0);
  showStepNumber(program);
}

void accept(Program& program, const listening::Hearing& hearing) {
  PracticeState& practice = program.practice;
  StepResult& result = practice.results[static_cast<size_t>(practice.current)];
  if (result.outcome != StepOutcome::Wrong) {
    const double lateAfterMs = DETECTION_ALLOWANCE_MS + stepPeriodMs(program) / 8.0;
    const bool late = practice.mode == PracticeMode::Tempo &&
                      hearing.timeMs - practice.beatMs > lateAfterMs;
    result.outcome = late ? StepOutcome::Late : StepOutcome::Right;
  }
  practice.showingRight = true;
  ringNote(program, -1);
  redrawStep(program, practice.current);
  showStepNumber(program);
  if (practice.mode == PracticeMode::Wait)
    program.os.timer.setTimer(IDM_PRACTICE_TIMER, RIGHT_MOMENT_MS);
}

void showWrongNote(Program& program, int heard) {
  PracticeState& practice = program.practice;
  StepResult& result = practice.results[static_cast<size_t>(practice.current)];
  result.outcome = StepOutcome::Wrong;
  result.heardNote = heard;
  if (heard == practice.ringedNote) return;
  ringNote(program, heard);
  showStatus(program, "SE OYE: " + heardNoteName(heard));
}

}  // namespace

bool isPracticeCommand(int commandId) {
  return commandId >= IDM_PRACTICE_WAIT && commandId <= IDM_PRACTICE_STOP;
}

bool isPractising(const Program& program) { return program.practice.mode != PracticeMode::Off; }

void handlePracticeCommand(Program& program, int commandId) {
  switch (commandId) {
    case IDM_PRACTICE_WAIT: start(program, PracticeMode::Wait); break;
    case IDM_PRACTICE_TEMPO: start(program, PracticeMode::Tempo); break;
    case IDM_PRACTICE_STOP: endPractice(program); break;
    default: break;
  }
}

// Once a step is right it stays green until the next one (tempo) or for a moment (wait).
// A note still sounding from the step before is no wrong note: a learner plays legato.
void handlePracticeHeard(Program& program, const listening::Hearing& hearing) {
  PracticeState& practice = program.practice;
  const PracticeStep* step = currentStep(practice);
  if (step == nullptr || practice.showingRight) return;
  if (listening::holdsStep(hearing, step->notes, step->count)) {
    accept(program, hearing);
    return;
  }
  const int heard = listening::strongestNote(hearing);
  const PracticeStep* before = practice.current > 0 ? step - 1 : nullptr;
  const bool fromStepBefore = before != nullptr && isFromStep(*before, heard);
  if (heard < 0 || holdsNote(*step, heard) || fromStepBefore ||
      isPartialOfASoundingNote(hearing, heard)) {
    practice.suspectHearings = 0;
    return;
  }
  if (heard != std::exchange(practice.suspectNote, heard)) practice.suspectHearings = 0;
  if (++practice.suspectHearings >= WRONG_NOTE_HEARINGS) showWrongNote(program, heard);
}

void handlePracticeTimer(Program& program) {
  PracticeState& practice = program.practice;
  if (practice.mode == PracticeMode::Wait) {
    program.os.timer.killTimer(IDM_PRACTICE_TIMER);
    if (practice.showingRight) advance(program);
  } else if (practice.mode == PracticeMode::Tempo) {
    // The listener counts from the start of the practice, as the beats do.
    practice.beatMs += stepPeriodMs(program);
    if (practice.countInBeats > 0) {
      countIn(program);
      return;
    }
    StepResult& result = practice.results[static_cast<size_t>(practice.current)];
    if (result.outcome == StepOutcome::Pending) result.outcome = StepOutcome::Missed;
    advance(program);
  }
}

void endPractice(Program& program) {
  if (isPractising(program)) leavePractice(program);
}

void paintPractice(Program& program, Surface& surface) {
  if (const PracticeStep* step = currentStep(program.practice)) drawStep(program, surface, *step);
  drawNoteButtons(program, surface, program.practice.ringedNote);
}

void practiceTempoChanged(Program& program) {
  if (program.practice.mode != PracticeMode::Tempo) return;
  program.os.timer.killTimer(IDM_PRACTICE_TIMER);
  program.os.timer.setTimer(IDM_PRACTICE_TIMER, stepPeriodMs(program));
}

}  // namespace brenavo
