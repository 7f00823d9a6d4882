// What practice says in words, and what it keeps in the settings file.
#include <algorithm>
#include <utility>

#include "model/tables.h"
#include "practice/practice.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

constexpr const char* INPUT_NAME = "Escucha/Entrada";
constexpr const char* REFERENCE_NAME = "Escucha/LaReferencia";
constexpr int LOWEST_REFERENCE_A = 430;
constexpr int HIGHEST_REFERENCE_A = 450;

struct Counts {
  int right = 0, late = 0, wrong = 0, missed = 0;
};

Counts countsOf(const PracticeState& practice) {
  Counts counts;
  for (const StepResult& result : practice.results) {
    switch (result.outcome) {
      case StepOutcome::Right: ++counts.right; break;
      case StepOutcome::Late: ++counts.late; break;
      case StepOutcome::Wrong: ++counts.wrong; break;
      case StepOutcome::Missed: ++counts.missed; break;
      case StepOutcome::Pending: break;
    }
  }
  return counts;
}

// The step's buttons by their labels: "E", "E/c", "G-b-d".
std::string stepNames(const Program& program, const PracticeStep& step) {
  const ACC_KEYBOARD& tuning = keyConfig[program.sel.keySel2];
  std::string names;
  for (int i = 0; i < step.count; ++i) {
    if (i > 0) names += step.count == 2 ? "/" : "-";
    names += tuning.szNoteName[step.positions[i]];
  }
  return names;
}

std::string failureOf(const Program& program, size_t index) {
  const StepResult& result = program.practice.results[index];
  std::string text = "paso " + std::to_string(index + 1) + " (" +
                     stepNames(program, program.practice.steps[index]) + "): ";
  if (result.outcome == StepOutcome::Late) return text + "tarde";
  if (result.outcome == StepOutcome::Missed) return text + "no se oyo";
  return text + "se oyo " + heardNoteName(result.heardNote);
}

bool failed(const StepResult& result) {
  return result.outcome != StepOutcome::Right && result.outcome != StepOutcome::Pending;
}

std::string countsLine(const Counts& counts, const char* separator) {
  return "Bien: " + std::to_string(counts.right) + separator +
         "Tarde: " + std::to_string(counts.late) + separator +
         "Mal: " + std::to_string(counts.wrong) + separator +
         "Sin tocar: " + std::to_string(counts.missed);
}

}  // namespace

std::string practiceSummary(const Program& program) {
  const PracticeState& practice = program.practice;
  std::string text = "Practica terminada.\n\n" + countsLine(countsOf(practice), "\n");
  bool anyFailed = false;
  for (size_t index = 0; index < practice.results.size(); ++index) {
    if (!failed(practice.results[index])) continue;
    text += anyFailed ? "\n" : "\n\nPasos fallados:\n";
    text += "  " + failureOf(program, index);
    anyFailed = true;
  }
  return text;
}

std::string practiceResultsLine(const Program& program) {
  const PracticeState& practice = program.practice;
  std::string line = countsLine(countsOf(practice), ", ");
  for (size_t index = 0; index < practice.results.size(); ++index)
    if (failed(practice.results[index])) line += "; " + failureOf(program, index);
  return line;
}

std::string heardNoteName(int midiNote) {
  static constexpr const char* LETTERS[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                              "F#", "G",  "G#", "A",  "A#", "B"};
  if (midiNote < 0) return "nada";
  std::string name = LETTERS[midiNote % 12];
  const int octave = midiNote / 12 - 1;
  switch (octave) {
    case 3: return "-" + name;
    case 4: return name;
    case 5: std::transform(name.begin(), name.end(), name.begin(), ::tolower); return name;
    case 6: std::transform(name.begin(), name.end(), name.begin(), ::tolower); return name + "+";
    default: return name + std::to_string(octave);
  }
}

std::string resultsName(const SelectionState& sel) {
  const ACC_KEYBOARD* tuning = entryAt(keyConfig, sel.keySel2);
  return std::string("Practica/") + (tuning ? tuning->szKeyConfig : "?") + " " +
         std::to_string(selectionCommand(sel)) + " " + std::to_string(sel.formatSel) + " " +
         std::to_string(sel.direcSel);
}

void loadListeningOptions(Program& program) {
  if (std::exchange(program.practice.optionsLoaded, true)) return;
  platform::KeyStore& store = program.os.keyStore;
  if (store.openOrCreate() == platform::KeyStore::Disposition::Failed) return;
  ListeningOptions& options = program.practice.options;
  store.readString(INPUT_NAME, options.input);
  int32_t reference = options.referenceA;
  if (store.readDword(REFERENCE_NAME, reference) &&
      inRange(reference, LOWEST_REFERENCE_A, HIGHEST_REFERENCE_A))
    options.referenceA = reference;
  store.closeKey();
}

void offerListeningChoices(Program& program, platform::OptionsChecks& checks) {
  loadListeningOptions(program);
  checks.inputs = program.os.audioInput.inputs();
  const auto chosen = std::find(checks.inputs.begin(), checks.inputs.end(),
                                program.practice.options.input);
  checks.input =
      chosen == checks.inputs.end() ? -1 : static_cast<int>(chosen - checks.inputs.begin());
  checks.referenceA = program.practice.options.referenceA;
}

// Kept at once in their own group: the seventeen values are written only at the end.
void storeListeningChoices(Program& program, const platform::OptionsChecks& checks) {
  ListeningOptions& options = program.practice.options;
  if (checks.input >= 0 && checks.input < static_cast<int>(checks.inputs.size()))
    options.input = checks.inputs[static_cast<size_t>(checks.input)];
  if (inRange(checks.referenceA, LOWEST_REFERENCE_A, HIGHEST_REFERENCE_A))
    options.referenceA = checks.referenceA;
  platform::KeyStore& store = program.os.keyStore;
  if (store.openOrCreate() == platform::KeyStore::Disposition::Failed) return;
  store.writeString(INPUT_NAME, options.input.c_str());
  store.writeDword(REFERENCE_NAME, options.referenceA);
  store.closeKey();
}

}  // namespace brenavo
