// The about and usage dialogs and their texts.
#pragma once

#include <string>

#include "app/program.h"

namespace brenavo {

std::string aboutText();
std::string usageText();

void runAboutDialog(Program& program);
void runUsageDialog(Program& program);

}  // namespace brenavo
