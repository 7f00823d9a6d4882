// The steps of the current selection as a run plays them: the same buttons, in the same
// order, and the notes they sound.
#pragma once

#include <vector>

#include "practice/practice_state.h"
#include "selection/selection_state.h"

namespace brenavo {

// Steps without a button (rows the tables leave empty) are left out; nothing selected, or
// a tuning outside the tables, gives no steps.
std::vector<PracticeStep> practiceSteps(const SelectionState& sel);

}  // namespace brenavo
