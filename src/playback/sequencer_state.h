// What the sequencer remembers between steps: the buttons and notes of the step being
// played and of the last step whose notes were started.
#pragma once

#include <cstdint>

namespace brenavo {

inline constexpr int NOTE_SLOTS = 4;

struct SequencerState {
  int32_t curNotes[NOTE_SLOTS] = {};
  int32_t curButXs[NOTE_SLOTS] = {};
  int32_t curButYs[NOTE_SLOTS] = {};
  int32_t curMidis[NOTE_SLOTS] = {};
  int32_t prevNotes[NOTE_SLOTS] = {};
  int32_t prevButXs[NOTE_SLOTS] = {};
  int32_t prevButYs[NOTE_SLOTS] = {};
  int32_t prevMidis[NOTE_SLOTS] = {};
};

}  // namespace brenavo
