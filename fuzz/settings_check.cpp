#include "settings_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/brenavo_funcs.h"
#include "selection/selection_rules.h"
#include "settings/settings_store.h"

namespace brenavo::fuzz {

namespace {

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
  if (!selectionConsistent(s)) return "a selection the commands could not make";
  if (s.scaleSteps != stepsOfSelection(s)) return "step count";
  if (!inRange(s.vPos, VERT_RANGE_MIN, VERT_RANGE_MAX)) return "tempo";
  if (!isVoiceId(s.midiVoice)) return "voice";
  return "";
}

bool sameSavedValues(const SelectionState& a, const SelectionState& b) {
  return std::all_of(SAVED_VALUES.begin(), SAVED_VALUES.end(), [&](const SavedValue& value) {
    return a.*value.variable == b.*value.variable;
  });
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
