#include "listening_cases.h"

#include <algorithm>
#include <tuple>

#include "model/tables.h"
#include "selection/selection_rules.h"

namespace brenavo::bench {

namespace {

Notes sorted(Notes notes) {
  std::sort(notes.begin(), notes.end());
  notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
  return notes;
}

Notes chordNotes(const CHORD& chord, const ACC_KEYBOARD& tuning) {
  Notes notes;
  for (int i = 0; i < chordNoteCount(chord); ++i) notes.push_back(tuning.midiKeyNum[chord.iNote[i]]);
  return sorted(notes);
}

// Every run of steps the tables hold, in one tuning.
std::vector<std::vector<Notes>> runsOf(const ACC_KEYBOARD& tuning) {
  std::vector<std::vector<Notes>> runs;
  for (const DIATONIC_SCALES& direction : notePats)
    for (int format = 0; format < 3; ++format)
      for (const NOTE_SEQUENCE& scale : direction.iFormat[format].iScale) {
        std::vector<Notes>& run = runs.emplace_back();
        for (int step = 0; step < scale.scaleSteps; ++step) {
          Notes notes = {tuning.midiKeyNum[scale.note1[step]]};
          if (format > 0) notes.push_back(tuning.midiKeyNum[scale.note2[step]]);
          run.push_back(sorted(notes));
        }
      }
  for (const ACC_CHORDS& type : chordGroup) {
    std::vector<Notes>& run = runs.emplace_back();
    for (const CHORD& chord : type.iChord) run.push_back(chordNotes(chord, tuning));
  }
  for (int row = 0; row < static_cast<int>(std::size(circleGroup)); ++row) {
    std::vector<Notes>& run = runs.emplace_back();
    for (int step = 0; step < progressionSteps(row); ++step)
      run.push_back(chordNotes(circleGroup[row].iChord[step], tuning));
  }
  return runs;
}

// The lowest and highest notes of a tuning's keyboard: a learner's wrong note is one of them.
struct Range {
  int lowest, highest;
};

Range rangeOf(const ACC_KEYBOARD& tuning) {
  Range range{128, -1};
  for (int note : tuning.midiKeyNum)
    if (note > 0) range = {std::min(range.lowest, note), std::max(range.highest, note)};
  return range;
}

// The step with its note `which` moved by `interval` (or, where that lands on another note of
// the step or off the keyboard, the other way); unchanged when both ways do.
Notes moved(const Notes& step, int which, int interval, Range keyboard) {
  for (int by : {interval, -interval}) {
    const int note = step[which] + by;
    if (note >= keyboard.lowest && note <= keyboard.highest &&
        std::find(step.begin(), step.end(), note) == step.end()) {
      Notes wrong = step;
      wrong[which] = note;
      return sorted(wrong);
    }
  }
  return step;
}

// The wrong forms of a step; `variety` picks which note goes wrong and which way.
std::vector<std::pair<Played, Notes>> wrongForms(const Notes& step, int variety, Range keyboard) {
  const int count = static_cast<int>(step.size());
  const int which = variety % count;
  const int direction = variety / count % 2 == 0 ? 1 : -1;
  std::vector<std::pair<Played, Notes>> forms = {
      {Played::SemitoneOff, moved(step, which, direction, keyboard)},
      {Played::OctaveOff, moved(step, which, 12 * direction, keyboard)}};
  if (count > 1) {
    Notes missing = step;
    missing.erase(missing.begin() + which);
    forms.emplace_back(Played::VoiceMissing, missing);
  }
  return forms;
}

}  // namespace

const char* playedName(Played played) {
  switch (played) {
    case Played::Right: return "right";
    case Played::SemitoneOff: return "one note a semitone off";
    case Played::OctaveOff: return "one note an octave off";
    case Played::VoiceMissing: return "a voice missing";
  }
  return "";
}

bool Case::operator<(const Case& other) const {
  return std::tie(before, played, expected, kind) <
         std::tie(other.before, other.played, other.expected, other.kind);
}

std::map<Case, int> listeningCases() {
  std::map<Case, int> cases;
  int variety = 0;
  for (const ACC_KEYBOARD& tuning : keyConfig)
    for (const std::vector<Notes>& run : runsOf(tuning))
      for (std::size_t step = 0; step < run.size(); ++step) {
        const Notes before = step > 0 ? run[step - 1] : Notes{};
        ++cases[{before, run[step], run[step], Played::Right}];
        for (const auto& [kind, played] : wrongForms(run[step], variety++, rangeOf(tuning)))
          if (played != run[step]) ++cases[{before, played, run[step], kind}];
      }
  return cases;
}

}  // namespace brenavo::bench
