// Where every button position lies on the window.
#pragma once

#include "app/program.h"
#include "model/tables.h"

namespace brenavo {

inline constexpr int KB_X = 575;
inline constexpr int KB_OS = 200;
inline constexpr int BUT_SIZE = 40;
// Half the side of the square around a button's centre that its circle and outline never
// leave. Neighbouring centres lie 45 apart, so no two cells overlap.
inline constexpr int BUTTON_CELL_HALF = BUT_SIZE / 2 + 2;
inline constexpr int PULL_MIDDLE_X = KB_X - KB_OS / 2;  // the pull diagram's middle column
inline constexpr int PUSH_MIDDLE_X = KB_X + KB_OS / 2;  // the push diagram's middle column

// Fills program.geo.buttonXYs: x of positions 0-65, then their y.
int createButtonXYs(Program& program);

inline int buttonX(const Program& program, int position) { return program.geo.buttonXYs[position]; }
inline int buttonY(const Program& program, int position) {
  return program.geo.buttonXYs[KB_POSITIONS + position];
}

}  // namespace brenavo
