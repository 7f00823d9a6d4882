// The five-part status bar that names the tuning, selection, format and direction.
#pragma once

#include "app/program.h"

namespace brenavo {

inline constexpr int PARTS_IN_STATUS_BAR = 5;

void InitStatus(Program& program);

// IDM_UPDATE_STATUS_BAR: rewrites the texts and the "&Formato" availability; returns 0.
int updateStatusBar(Program& program);

}  // namespace brenavo
