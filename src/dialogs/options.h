// The options dialog's rules: which buttons start checked, and how the choices are stored.
#pragma once

#include "app/program.h"

namespace brenavo {

platform::OptionsChecks optionsInitialChecks(const SelectionState& sel);
void storeOptionChoices(SelectionState& sel, const platform::OptionsChecks& checks);

// Runs the dialog modally and stores the choices when "GUAR&DAR" ended it.
void runOptionsDialog(Program& program);

}  // namespace brenavo
