// The computed fingerings against music and against the hand-made ones.
#include <gtest/gtest.h>

#include "model/fingering.h"
#include "model_music.h"

using namespace brenavo;

using namespace music;
using namespace fingering;

struct Computed {  // one computed sequence as stored, and the scale it plays
  std::string name;
  Scale scale;
  int direction, format, steps;
  const int32_t *note1, *note2;
};

template <typename Visit>
static void forEachComputed(Visit visit) {
  for (int d = 0; d < 3; ++d)
    for (int f = 0; f < 3; ++f)
      for (int key = 0; key < 24; ++key) {
        if (hasHandMadeFingering(key)) continue;
        const NOTE_SEQUENCE& seq = notePats[d].iFormat[f].iScale[key];
        visit(Computed{"set " + std::to_string(d * 10 + f) + " key " + std::to_string(key),
                       diatonicScale(key), d, f, seq.scaleSteps, seq.note1, seq.note2});
      }
  for (int family = 0; family < 3; ++family)
    for (int k = 0; k < 12; ++k) {
      const PENT_SCALE& scale = pentPats[family].pentScale[k];
      visit(Computed{"pentatonic " + std::to_string(family) + " key " + std::to_string(k),
                     pentatonicScale(family, k), PULL, NOTES, scale.scaleSteps, scale.iNote, nullptr});
    }
}

// True when a button on the given side (PULL, PUSH, or PULL_PUSH for either) sounds the pitch.
static bool soundsOn(const int32_t (&pitch)[KB_POSITIONS], int midi, int side) {
  for (int p = 0; p < KB_POSITIONS; ++p)
    if (!isLabelSlot(p) && pitch[p] == midi && (side == PULL_PUSH || sideOf(p) == side)) return true;
  return false;
}

// In every tuning each step plays what the scale calls for from the chosen tonic (a voice moved by
// octaves only where no side holds the pair), on one side, the asked one unless it lacks a pitch.
// The first voice climbs but for lone dips an octave away: no repeated pitch, no two falls in a
// row, no four steps played again (as a run starting below the keyboard would).
TEST(ComputedFingerings, SoundTheirScaleOnTheAskedSideAndClimb) {
  forEachComputed([](const Computed& c) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.steps, c.note2 ? diatonicSteps(c.format) : 2 * c.scale.size + 1);
    for (int t = 0; t < 4; ++t) {
      const int tonic = bestTonic(keyConfig[0].midiKeyNum, c.scale, c.format, c.steps) + TUNING_OFFSET[t];
      for (int step = 0; step < c.steps; ++step) {
        const int voices = voicesOf(c.format);
        const int positions[2] = {c.note1[step], voices == 2 ? c.note2[step] : c.note1[step]};
        int wanted[2], shift[2];  // the pitch called for, and how far the button's lies from it
        for (int v = 0; v < 2; ++v) {
          ASSERT_TRUE(isButton(positions[v])) << "step " << step;
          wanted[v] = calledFor(c.scale, tonic, c.format, step, v % voices);
          shift[v] = pitchOf(t, positions[v]) - wanted[v];
        }
        EXPECT_EQ(sideOf(positions[0]), sideOf(positions[1])) << "step " << step;
        const auto& pitch = keyConfig[t].midiKeyNum;
        const auto holds = [&](int s) { return soundsOn(pitch, wanted[0], s) && soundsOn(pitch, wanted[1], s); };
        for (int v = 0; v < 2; ++v)
          EXPECT_TRUE(shift[v] == 0 || (shift[v] % 12 == 0 && !holds(PULL) && !holds(PUSH)))
              << "step " << step << " voice " << v << " moved by " << shift[v];
        EXPECT_TRUE(c.direction == PULL_PUSH || sideOf(positions[0]) == c.direction || !holds(c.direction))
            << "step " << step << " leaves the asked side";
      }
    }
    for (int step = 1; step < c.steps; ++step) {
      const auto heard = [&](int s) { return pitchOf(0, c.note1[s]); };
      EXPECT_NE(heard(step), heard(step - 1)) << "step " << step;
      EXPECT_FALSE(step > 1 && heard(step) < heard(step - 1) && heard(step - 1) < heard(step - 2))
          << "step " << step << " falls again";
      for (int earlier = 3; step >= 3 && earlier < step; ++earlier) {
        int same = 0;
        for (int back = 0; back < 4; ++back) same += heard(step - back) == heard(earlier - back);
        EXPECT_LT(same, 4) << "steps " << step - 3 << "-" << step << " replay " << earlier - 3;
      }
    }
  });
}

// On the hand-made keys the generator picks the same buttons on at least 80 % of the steps. F
// major in sixths differs whole: the hand starts an octave lower and plays the missing -A# of
// the lower voice an octave up; the generator takes the octave that holds every pair.
TEST(ComputedFingerings, AgreeWithTheHandMadeKeys) {
  int same = 0, entries = 0;
  for (int f = 0; f < 3; ++f)
    for (int key = 0; key < 24; ++key)
      for (int d = 0; d < 3 && hasHandMadeFingering(key); ++d) {
        const NOTE_SEQUENCE& hand = notePats[d].iFormat[f].iScale[key];
        const NOTE_SEQUENCE computed = diatonicFingering(d, f, key).sequence;
        for (int step = 0; step < hand.scaleSteps; ++step)
          same += hand.note1[step] == computed.note1[step] && hand.note2[step] == computed.note2[step];
        entries += hand.scaleSteps;
      }
  EXPECT_GE(same * 100, entries * 80) << same << " of " << entries << " steps agree";
}
