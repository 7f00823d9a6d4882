// The scale tables checked against music: diatonic fingerings climb their major or natural minor
// scale (thirds above, sixths below), alike in the three bellows directions; chromatic and
// whole-tone rows climb by semitones and tones. A note may stand an octave away from where the
// music calls for it only where the keyboard lacks that pitch.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <tuple>
#include <utility>
#include <vector>

#include "model_music.h"

using namespace brenavo;

using namespace music;

static bool soundsAsCalledFor(int tuning, int heard, int wanted) {
  bool onKeyboard = false;
  for (int p = 0; p < KB_POSITIONS; ++p) onKeyboard |= isButton(p) && pitchOf(tuning, p) == wanted;
  return heard == wanted || (std::abs(heard - wanted) == 12 && !onKeyboard);
}

// The first voice climbs the scale from the tonic below its second step; the second voice is two
// degrees higher, an octave lower in sixths. G minor in thirds (key 16) opens on g/a#: the
// keyboard lacks -A#, and the first pair stays a third apart. Pull/push sixths of D minor
// (key 14) lie an octave below pull, save where the keyboard lacks the lower note. Of the 610
// entries of a direction, pull plays 70 on the push side, push 451 and pull/push 272.
TEST(DiatonicScales, EveryFilledSequenceClimbsItsScaleAndTheDirectionsAgree) {
  static constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11}, MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
  constexpr int SIXTHS = 2;
  std::array<int, 3> push{};
  for (int f = 0; f < 3; ++f)
    for (int key : {0, 1, 2, 3, 4, 12, 13, 14, 15, 16}) {  // the keys with a fingering
      const NOTE_SEQUENCE& pull = notePats[0].iFormat[f].iScale[key];
      for (int d = 0; d < 3; ++d) {
        const NOTE_SEQUENCE& seq = notePats[d].iFormat[f].iScale[key];
        ASSERT_EQ(seq.scaleSteps, f == SIXTHS ? 8 : 15);
        const int tonic = pitchOf(0, seq.note1[1]) - 2;
        EXPECT_EQ(mod12(tonic), mod12(MAJOR_TONIC_GCF[key % 12] - (key < 12 ? 0 : 3))) << key;
        const int shift = (d == 2 && f == SIXTHS && key == 14) ? -12 : 0;
        for (int which = 0; which < (f == 0 ? 1 : 2); ++which)
          for (int step = 0, degree = 2 * which; step < seq.scaleSteps; ++step, ++degree) {
            SCOPED_TRACE(testing::Message() << "set " << d << "." << f << " key " << key
                                            << " voice " << which << " step " << step);
            const int position = (which ? seq.note2 : seq.note1)[step];
            ASSERT_TRUE(isButton(position)) << position;
            const int heard = pitchOf(0, position);
            const int* const scale = key < 12 ? MAJOR : MINOR;
            const int wanted = tonic + 12 * (degree / 7) + scale[degree % 7] -
                               (which && f == SIXTHS ? 12 : 0) +
                               (f == 1 && key == 16 && step == 0 && !which ? 12 : 0);
            const int pulled = pitchOf(0, (which ? pull.note2 : pull.note1)[step]) + shift;
            EXPECT_TRUE(soundsAsCalledFor(0, heard, wanted)) << heard << " for " << wanted;
            EXPECT_TRUE(shift ? soundsAsCalledFor(0, heard, pulled) : heard == pulled) << pulled;
            push[d] += position >= KB_BUTTONS;
          }
      }
    }
  EXPECT_EQ(push, (std::array{70, 451, 272}));
}

// Row 0 the chromatic scale from c, rows 1 and 2 the whole-tone scales WT0 and WT1 from c and
// -B; each lists the (tuning, step) it plays an octave away for want of the pitch.
TEST(ChromaticAndWholeToneRows, ClimbBySemitonesAndByTones) {
  using Substitutions = std::vector<std::pair<int, int>>;
  const std::tuple<int, int, Substitutions> rows[3] = {
      {60, 1, {{3, 0}}},  // A-D-G has no C and starts on c
      {60, 2, {{0, 10}, {1, 11}, {1, 12}, {2, 9}, {3, 0}, {3, 11}}}, {59, 2, {{1, 9}, {2, 12}}}};
  for (int row = 0; row < 3; ++row) {
    const auto& [start, interval, expected] = rows[row];
    Substitutions substituted;
    for (int t = 0; t < 4; ++t)
      for (int step = 0; step < COLS_CHROMATIC; ++step) {
        const int p = row ? hexPats[t].hexScale[row - 1].iNote[step] : scalePatternChromatic[t][step];
        ASSERT_TRUE(isButton(p)) << "row " << row << " tuning " << t << " step " << step;
        const int heard = pitchOf(t, p), wanted = start + step * interval;
        EXPECT_TRUE(soundsAsCalledFor(t, heard, wanted)) << row << " " << t << " " << step;
        if (heard != wanted) substituted.emplace_back(t, step);
      }
    EXPECT_EQ(substituted, expected) << "row " << row;
  }
}
