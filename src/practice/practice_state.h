// What practice with the microphone keeps while it runs: the steps of the selection as a
// run plays them, where the learner stands and how each step went.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "listening/hearing.h"
#include "playback/sequencer_state.h"

namespace brenavo {

enum class PracticeMode { Off, Wait, Tempo };

// How a step went: right on time, right but late, a wrong note heard, or nothing right
// heard before the next step came.
enum class StepOutcome { Pending, Right, Late, Wrong, Missed };

// One step: its buttons and the MIDI notes they sound in the current tuning.
struct PracticeStep {
  int32_t positions[NOTE_SLOTS] = {};
  int32_t notes[NOTE_SLOTS] = {};
  int count = 0;
};

struct StepResult {
  StepOutcome outcome = StepOutcome::Pending;
  int heardNote = -1;          // the wrong note heard, -1 when none
};

// What the learner chose in the options: the input ("" the default) and the reference A.
struct ListeningOptions {
  std::string input;
  int referenceA = 440;
};

struct PracticeState {
  PracticeMode mode = PracticeMode::Off;
  std::vector<PracticeStep> steps;
  std::vector<StepResult> results;
  int current = 0;             // the step the learner plays now
  int countInBeats = 0;        // beats of the count-in before the first step (tempo)
  bool showingRight = false;   // the current step is green for a moment (wait)
  double beatMs = 0;           // when the current beat began, in the listener's time (tempo)
  int ringedNote = -1;         // the wrong note whose buttons carry a red ring
  int suspectNote = -1;        // a wrong note heard in the last blocks...
  int suspectHearings = 0;     // ...and in how many of them in a row
  ListeningOptions options;
  bool optionsLoaded = false;
  std::unique_ptr<listening::Detector> detector;
  int detectorRate = 0;
};

}  // namespace brenavo
