#include "dialogs/options.h"

#include <algorithm>
#include <array>

#include "practice/practice.h"

namespace brenavo {

namespace {

constexpr std::array<int, 4> tuningButtons = {IDRB_GCF, IDRB_EAD, IDRB_FBE, IDRB_ADG};
constexpr std::array<int, 3> directionButtons = {IDRB_OUT, IDRB_IN, IDRB_MIXED};
constexpr std::array<int, 4> voiceButtons = VOICE_IDS;

template <size_t N>
bool isButtonOf(const std::array<int, N>& group, int id) {
  return std::find(group.begin(), group.end(), id) != group.end();
}

// The button to check for a value: the value itself when it is a button of the group.
template <size_t N>
int checkFor(const std::array<int, N>& group, int value) {
  return isButtonOf(group, value) ? value : -1;
}

// A group with a checked button takes its id; a group with none keeps its value.
template <size_t N>
void storeChoice(const std::array<int, N>& group, int checked, int32_t& value) {
  if (isButtonOf(group, checked)) value = checked;
}

}  // namespace

platform::OptionsChecks optionsInitialChecks(const SelectionState& sel) {
  return {checkFor(tuningButtons, sel.keySel), checkFor(directionButtons, sel.direcSel),
          checkFor(voiceButtons, sel.midiVoice)};
}

void storeOptionChoices(SelectionState& sel, const platform::OptionsChecks& checks) {
  storeChoice(tuningButtons, checks.tuning, sel.keySel);
  sel.keySel2 = sel.keySel - IDRB_GCF;
  storeChoice(directionButtons, checks.direction, sel.direcSel);
  sel.direcSel2 = sel.direcSel - IDRB_OUT;
  storeChoice(voiceButtons, checks.voice, sel.midiVoice);
}

void runOptionsDialog(Program& program) {
  platform::OptionsChecks initial = optionsInitialChecks(program.sel);
  initial.showKeys = program.live.showKeys;
  offerListeningChoices(program, initial);
  const platform::OptionsOutcome outcome = program.os.dialogs.runOptions(initial);
  if (!outcome.saved) return;
  storeOptionChoices(program.sel, outcome.checks);
  program.live.showKeys = outcome.checks.showKeys;
  storeListeningChoices(program, outcome.checks);
}

}  // namespace brenavo
