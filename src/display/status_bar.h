// The five-part status bar that names the tuning, selection, format and direction.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/program.h"

namespace brenavo {

inline constexpr int PARTS_IN_STATUS_BAR = 5;

void InitStatus(Program& program);

// IDM_UPDATE_STATUS_BAR: rewrites the texts and the "&Formato" availability; returns 0.
int updateStatusBar(Program& program);

// The texts a selection puts in each part; "" where it writes none.
std::array<std::string, PARTS_IN_STATUS_BAR> statusTextsOf(const SelectionState& sel);

// Every text each part of the bar can show: its first text and those of every selection
// command in the four tunings, the three bellows directions and the three formats.
// Sorted, each once.
std::array<std::vector<std::string>, PARTS_IN_STATUS_BAR> everyStatusText();

}  // namespace brenavo
