// Helpers shared by the table tests: the tunings as offsets from G-C-F, pitch classes, buttons.
#pragma once

#include "model/tables.h"

namespace brenavo::music {

inline constexpr int TUNING_OFFSET[4] = {0, -3, -2, 2};  // G-C-F, E-A-D, F-Bb-Eb, A-D-G
// Tonics of the 12 major keys of G-C-F, by key index; minor key 12 + k lies three semitones lower.
inline constexpr int MAJOR_TONIC_GCF[12] = {7, 0, 5, 2, 10, 11, 4, 9, 3, 8, 1, 6};

inline int mod12(int value) { return ((value % 12) + 12) % 12; }
inline bool isButton(int p) { return p >= 0 && p < KB_POSITIONS && !isLabelSlot(p); }
inline int pitchOf(int tuning, int position) { return keyConfig[tuning].midiKeyNum[position]; }

}  // namespace brenavo::music
