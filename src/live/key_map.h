// Where the computer keyboard plays. Keys are taken by their place on the keyboard (PC
// scan codes, set 1), not by the letter printed on them, so every layout plays the same
// buttons. Three rows of letter keys play the three columns of buttons, the first button
// of a column (the top of the diagram, its low end) on the row's leftmost key; the space
// bar held is the bellows pushed.
#pragma once

#include <cstdint>

namespace brenavo {

inline constexpr int32_t SCAN_SPACE = 0x39;
inline constexpr int KEY_COLUMNS = 3;
inline constexpr int KEYS_PER_COLUMN = 11;  // the middle column; the outer ones have 10

// A key by its scan code and the name a Spanish keyboard prints on it; 0 where a column
// has no button.
struct KeyPlace {
  int32_t scanCode;
  const char* name;
};

// Row by row: Q-P, A-Ñ and the key right of Ñ, Z-minus.
inline constexpr KeyPlace KEY_ROWS[KEY_COLUMNS][KEYS_PER_COLUMN] = {
    {{0x10, "Q"}, {0x11, "W"}, {0x12, "E"}, {0x13, "R"}, {0x14, "T"}, {0x15, "Y"},
     {0x16, "U"}, {0x17, "I"}, {0x18, "O"}, {0x19, "P"}, {0, ""}},
    {{0x1E, "A"}, {0x1F, "S"}, {0x20, "D"}, {0x21, "F"}, {0x22, "G"}, {0x23, "H"},
     {0x24, "J"}, {0x25, "K"}, {0x26, "L"}, {0x27, "Ñ"}, {0x28, "´"}},
    {{0x2C, "Z"}, {0x2D, "X"}, {0x2E, "C"}, {0x2F, "V"}, {0x30, "B"}, {0x31, "N"},
     {0x32, "M"}, {0x33, ","}, {0x34, "."}, {0x35, "-"}, {0, ""}},
};

// The pull-side position (0-32) a key plays, or -1 for a key that plays none.
constexpr int pullPositionOfKey(int32_t scanCode) {
  for (int column = 0; column < KEY_COLUMNS; ++column)
    for (int row = 0; row < KEYS_PER_COLUMN; ++row)
      if (scanCode != 0 && KEY_ROWS[column][row].scanCode == scanCode)
        return column * KEYS_PER_COLUMN + row;
  return -1;
}

// The name of the key that plays a button of either side; "" for a label slot.
constexpr const char* keyNameOf(int position) {
  const int pull = position % (KEY_COLUMNS * KEYS_PER_COLUMN);
  return KEY_ROWS[pull / KEYS_PER_COLUMN][pull % KEYS_PER_COLUMN].name;
}

}  // namespace brenavo
