// What the listener makes of the microphone: one Hearing per analysed block, and the
// two questions practice asks of it.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace brenavo::listening {

inline constexpr int NOTE_COUNT = 128;

struct Hearing {
  double timeMs = 0;        // end of the analysed block, counted from the start of listening
  bool onset = false;       // a new attack starts in this block
  float levelDb = -120.0f;  // the block's level, dB below full scale
  // How clearly each MIDI note's pitch (within 40 cents, at the reference A) sounds, 0 to 1.
  std::array<float, NOTE_COUNT> salience{};
  // How far each note's fundamental stands above the spectrum's floor, in dB.
  std::array<float, NOTE_COUNT> aboveFloorDb{};
  // How far that rose over the last two hops, in dB: large for a note just beginning to sound.
  std::array<float, NOTE_COUNT> aboveFloorGrowthDb{};
  // How far it stands above its highest 95-230 ms before, in dB: large for a note played now,
  // small for the echo of one played before a step.
  std::array<float, NOTE_COUNT> aboveEarlierDb{};
  // How far each note's fundamental has fallen from its recent largest, 0 (not at all) to 1:
  // a fading note may still count against a step, but does not sound for one.
  std::array<float, NOTE_COUNT> fading{};
  // True for a note that has only fallen since the last attack: left over from what was
  // played before, not played now, it does not count against a step.
  std::array<bool, NOTE_COUNT> leftOver{};
  // How long ago each note last began to rise above what it had 35-80 ms before, in ms: the
  // notes of a step begin to rise when it is played, those of the step before much earlier.
  std::array<float, NOTE_COUNT> sinceRiseMs{};
};

// True when every expected note sounds and no other strong pitch does; the partials of
// the expected notes do not count against them. A wrong octave is a wrong note.
bool holdsStep(const Hearing& hearing, const int* notes, int count);

// The clearest pitch heard, or -1 when nothing sounds clearly.
int strongestNote(const Hearing& hearing);

// Turns mono samples into Hearings, one per analysed block.
class Detector {
 public:
  // False when the sound analysis library cannot be loaded: a detector then hears nothing.
  static bool available();
  Detector(int sampleRate, double referenceA);
  ~Detector();
  Detector(const Detector&) = delete;
  Detector& operator=(const Detector&) = delete;
  void feed(const float* mono, std::size_t frames, std::vector<Hearing>& out);

 private:
  struct Analysis;
  std::unique_ptr<Analysis> analysis_;
};

}  // namespace brenavo::listening
