// One step of playback: the previous step's buttons back to white and silent, the
// current step's buttons yellow and sounding.
#pragma once

#include "app/program.h"

namespace brenavo {

void playScaleChordCircle(Program& program);

}  // namespace brenavo
