// Helpers shared by the table tests: the tunings as offsets from G-C-F, pitch classes, buttons.
#pragma once

#include "model/tables.h"

namespace brenavo::music {

inline constexpr int TUNING_OFFSET[4] = {0, -3, -2, 2};  // G-C-F, E-A-D, F-Bb-Eb, A-D-G

inline int mod12(int value) { return ((value % 12) + 12) % 12; }

inline bool isButton(int position) {
  return position >= 0 && position < KB_POSITIONS && !isLabelSlot(position);
}

inline int pitchOf(int tuning, int position) { return keyConfig[tuning].midiKeyNum[position]; }

}  // namespace brenavo::music
