// The help pages opened from the "&Ayuda" menu.
#pragma once

#include "app/program.h"

namespace brenavo {

// "brenavo.chm" or "brenavo.chm::page.htm" for 501, 502, 503 and 506; nullptr otherwise.
const char* helpTarget(int commandId);

void initHelp(Program& program);
void showHelpTopic(Program& program, int commandId);
void shutdownHelp(Program& program);

}  // namespace brenavo
