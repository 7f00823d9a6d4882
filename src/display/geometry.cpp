#include "display/geometry.h"

#include "model/tables.h"

namespace brenavo {

namespace {

constexpr int COLUMN_PITCH = 45;   // between neighbouring columns of one diagram
constexpr int ROW_PITCH = 45;      // between neighbouring buttons of one column
constexpr int OUTER_STAGGER = 22;  // the outer columns sit this much lower than the middle one
constexpr int TOP_Y = 30;          // row 0 of the middle column
constexpr int ROWS_PER_COLUMN = 11;

// Column 0 lies left of the middle column, column 2 right of it.
constexpr int columnOffsetX(int column) { return (column - 1) * COLUMN_PITCH; }
constexpr int columnStagger(int column) { return column == 1 ? 0 : OUTER_STAGGER; }

}  // namespace

int createButtonXYs(Program& program) {
  int32_t* xs = program.geo.buttonXYs;
  int32_t* ys = program.geo.buttonXYs + KB_POSITIONS;
  for (int p = 0; p < KB_BUTTONS; ++p) {
    const int column = p / ROWS_PER_COLUMN;
    const int row = p % ROWS_PER_COLUMN;
    const int y = TOP_Y + ROW_PITCH * row + columnStagger(column);
    xs[p] = PULL_MIDDLE_X + columnOffsetX(column);
    xs[KB_BUTTONS + p] = PUSH_MIDDLE_X + columnOffsetX(column);
    ys[p] = y;
    ys[KB_BUTTONS + p] = y;
  }
  return 0;
}

}  // namespace brenavo
