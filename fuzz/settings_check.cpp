#include "settings_check.h"

#include <cstdio>
#include <cstdlib>

#include "app/brenavo_funcs.h"
#include "model/tables.h"

namespace brenavo::fuzz {

namespace {

int kindCount(const SelectionState& s) {
  return (s.chromaticSel != 0) + (s.diatonicSel != 0) + (s.pentatonicSel != 0) +
         (s.wholeToneSel != 0) + (s.chordSel != 0) + (s.circleSel != 0);
}

std::string pairBreach(const SelectionState& s) {
  if (!inRange(s.keySel, IDRB_GCF, IDRB_ADG) || s.keySel2 != s.keySel - IDRB_GCF)
    return "tuning pair";
  if (!inRange(s.direcSel, IDRB_OUT, IDRB_MIXED) || s.direcSel2 != s.direcSel - IDRB_OUT)
    return "direction pair";
  if (!inRange(s.formatSel, IDM_SCALE_NOTES, IDM_SCALE_SIXTHS) ||
      s.formatSel2 != s.formatSel - IDM_SCALE_NOTES)
    return "format pair";
  return "";
}

// The row each kind stands for, as the selection commands set it.
std::string rowBreach(const SelectionState& s) {
  if (s.diatonicSel != 0 && (!inRange(s.diatonicSel, IDM_SCALE_1, IDM_SCALE_5m) ||
                             s.scpIndex != s.diatonicSel - IDM_SCALE_1))
    return "diatonic row";
  // Rows 5-11 of a format hold no fingering: the menus never offer them.
  if (s.diatonicSel != 0 && !hasDiatonicFingering(s.scpIndex)) return "diatonic fingering";
  if (s.pentatonicSel != 0 &&
      (!inRange(s.pentatonicSel, IDM_SCALE_PENT_1, IDM_SCALE_PENT_BLUES_12) ||
       s.pentatonicSel != IDM_SCALE_PENT_1 + 12 * s.pentType + s.scpIndex ||
       !inRange(s.scpIndex, 0, 11)))
    return "pentatonic row";
  if (s.wholeToneSel != 0 && (!inRange(s.wholeToneSel, IDM_SCALE_WT0, IDM_SCALE_WT1) ||
                              s.scpIndex != s.wholeToneSel - IDM_SCALE_WT0))
    return "whole-tone row";
  if (s.chordSel != 0 && (!inRange(s.chordSel, IDM_CHORDS_MAJOR, IDM_CHORDS_7_DOM_B5) ||
                          s.scpIndex != s.chordSel - IDM_CHORDS_MAJOR))
    return "chord row";
  if (s.circleSel != 0 && (!inRange(s.circleSel, IDM_PROG_TRIAD_1, IDM_PROG_C_MEL_12) ||
                           s.scpIndex != s.circleSel - IDM_PROG_TRIAD_1))
    return "progression row";
  if (s.chromaticSel != 0 && s.chromaticSel != 1) return "chromatic flag";
  // A later format command reads the row: it stays within the rows of the largest table.
  if (!inRange(s.scpIndex, 0, 35)) return "row index";
  return "";
}

int32_t expectedSteps(const SelectionState& s) {
  if (s.chromaticSel) return COLS_CHROMATIC;
  if (s.wholeToneSel) return COLS_WHOLETONE;
  if (s.chordSel) return COLS_CHORDS;
  if (s.circleSel) return s.circleSel <= IDM_PROG_TRIAD_12 ? COLS_PROGS_3 : COLS_PROGS_4;
  if (s.pentatonicSel) return pentPats[s.pentType].pentScale[s.scpIndex].scaleSteps;
  if (s.diatonicSel)
    return notePats[s.direcSel2].iFormat[s.formatSel2].iScale[s.scpIndex].scaleSteps;
  return 15;  // nothing selected
}

void paint(Program& program) {
  fakes::RecordingSurface surface;
  WindowFunc(program, WM_PAINT, 0, reinterpret_cast<intptr_t>(&surface));
  require(!surface.ops().empty(), "the paint drew nothing");
}

void command(Program& program, int id) {
  WindowFunc(program, WM_COMMAND, static_cast<uintptr_t>(id), 0);
}

// Play, then ticks until the run ends by itself: the first step, one tick per further
// step, one for the closing release and one that stops.
void playWholeRun(Program& program, fakes::RecordingPlatform& fake) {
  command(program, IDPB_PLAY);
  require(program.sel.ctrlPlay != 0, "Play did not start a run");
  const int ticksAllowed = program.sel.scaleSteps + 2;
  for (int tick = 0; tick < ticksAllowed && program.sel.ctrlPlay; ++tick)
    WindowFunc(program, WM_TIMER, IDM_PLAY_TIMER, 0);
  require(program.sel.ctrlPlay == 0, "the run did not end after its last step");
  require(!fake.timerRunning, "the timer still runs after the end of the run");
  require(fake.soundingNotes.empty(), "a note is left sounding after the run");
}

}  // namespace

void require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "settings check failed: %s\n", what.c_str());
  std::abort();
}

std::string selectionBreach(const SelectionState& s) {
  // The store may hold no kind at all; it then shows the keyboards and no pattern.
  if (kindCount(s) > 1) return "more than one kind selected";
  if (std::string breach = pairBreach(s); !breach.empty()) return breach;
  if (!inRange(s.pentType, 0, 2)) return "pentatonic family";
  if (std::string breach = rowBreach(s); !breach.empty()) return breach;
  if (s.scaleSteps <= 0 || s.scaleSteps != expectedSteps(s)) return "step count";
  if (!inRange(s.vPos, VERT_RANGE_MIN, VERT_RANGE_MAX)) return "tempo";
  if (!isVoiceId(s.midiVoice)) return "voice";
  return "";
}

bool sameSavedValues(const SelectionState& a, const SelectionState& b) {
  return a.keySel == b.keySel && a.direcSel == b.direcSel && a.keySel2 == b.keySel2 &&
         a.direcSel2 == b.direcSel2 && a.scaleSteps == b.scaleSteps && a.formatSel == b.formatSel &&
         a.formatSel2 == b.formatSel2 && a.pentType == b.pentType && a.vPos == b.vPos &&
         a.midiVoice == b.midiVoice && a.scpIndex == b.scpIndex && a.diatonicSel == b.diatonicSel &&
         a.chordSel == b.chordSel && a.circleSel == b.circleSel &&
         a.chromaticSel == b.chromaticSel && a.wholeToneSel == b.wholeToneSel &&
         a.pentatonicSel == b.pentatonicSel;
}

SelectionState runProgramOnce(platform::Platform& services, fakes::RecordingPlatform& fake) {
  auto program = CreateMainWindow(services);
  require(selectionBreach(program->sel).empty(), "loaded: " + selectionBreach(program->sel));
  require(program->sel.scalePoint == 0 && !program->sel.ctrlPlay && !program->sel.ctrlPause,
          "a run starts stopped at step 0");
  require(fake.scrollPos == program->sel.vPos, "the tempo scroll bar shows the loaded tempo");
  paint(*program);
  const SelectionState loaded = program->sel;
  playWholeRun(*program, fake);
  require(sameSavedValues(program->sel, loaded), "a run changed the selection");
  paint(*program);
  WindowFunc(*program, WM_DESTROY, 0, 0);
  return program->sel;
}

}  // namespace brenavo::fuzz
