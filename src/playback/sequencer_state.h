// What the sequencer remembers between steps: the buttons and notes of the step being
// played and of the last step whose notes were started.
#pragma once

#include <cstdint>

namespace brenavo {

inline constexpr int NOTE_SLOTS = 4;

// One button of a step: its keyboard position, its centre and its MIDI key.
struct SequencerSlot {
  int32_t note = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t midi = 0;
  bool lit = false;  // drawn highlighted and not yet redrawn
};

struct SequencerState {
  SequencerSlot cur[NOTE_SLOTS] = {};
  SequencerSlot prev[NOTE_SLOTS] = {};
};

// A full paint draws every button unlit.
inline void forgetHighlights(SequencerState& seq) {
  for (SequencerSlot& slot : seq.prev) slot.lit = false;
}

}  // namespace brenavo
