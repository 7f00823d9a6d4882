// The scale tables checked against music: every diatonic fingering climbs its major or natural
// minor scale, in thirds above or sixths below where it has two voices; the three bellows
// directions play the same notes, and the chromatic and whole-tone rows climb by semitones and
// tones. A note may stand an octave away from where the music calls for it only where the
// keyboard lacks that pitch.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "model_music.h"

namespace brenavo {
namespace {

using namespace music;

constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int NATURAL_MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr int NOTES = 0, THIRDS = 1, SIXTHS = 2;
// The keys with a fingering: G, C, F, D, Bb major and their relative minors E, A, D, B, G.
constexpr int FILLED_KEYS[10] = {0, 1, 2, 3, 4, 12, 13, 14, 15, 16};

bool onKeyboard(int tuning, int midi) {
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (isButton(p) && pitchOf(tuning, p) == midi) return true;
  }
  return false;
}

bool soundsAsCalledFor(int tuning, int heard, int calledFor) {
  return heard == calledFor ||
         (std::abs(heard - calledFor) == 12 && !onKeyboard(tuning, calledFor));
}

const NOTE_SEQUENCE& sequence(int direction, int format, int key) {
  return notePats[direction].iFormat[format].iScale[key];
}

// Calls visit(voice, step, position) for every entry the sequence plays, each a button.
template <typename Visit>
void forEachEntry(const NOTE_SEQUENCE& seq, int format, Visit visit) {
  for (int which = 0; which < (format == NOTES ? 1 : 2); ++which) {
    for (int step = 0; step < seq.scaleSteps; ++step) {
      const int position = (which ? seq.note2 : seq.note1)[step];
      ASSERT_TRUE(isButton(position)) << "voice " << which << " step " << step;
      visit(which, step, position);
    }
  }
}

// The pitch the music calls for: the first voice climbs the scale from the tonic; the second
// voice is two degrees higher, and an octave lower in sixths. G minor in thirds (key 16) opens
// on g/a# rather than -G/-A#: the keyboard lacks -A#, and the first pair stays a third apart.
int calledFor(int format, int key, int tonic, int step, int which) {
  const int* scale = key >= 12 ? NATURAL_MINOR : MAJOR;
  const int degree = step + 2 * which;
  const int octaveMove = (which && format == SIXTHS ? -12 : 0) +
                         (format == THIRDS && key == 16 && step == 0 && !which ? 12 : 0);
  return tonic + 12 * (degree / 7) + scale[degree % 7] + octaveMove;
}

// The octave of the tonic that the sequence fits best (Bb major opens on bb: the keyboard
// lacks -Bb).
int bestTonic(const NOTE_SEQUENCE& seq, int format, int key) {
  const int tonicClass = mod12(MAJOR_TONIC_GCF[key % 12] - (key >= 12 ? 3 : 0));
  int best = 0, fewest = 1000;
  for (int tonic = 48 + tonicClass; tonic <= 72 + tonicClass; tonic += 12) {
    int departures = 0;
    forEachEntry(seq, format, [&](int which, int step, int position) {
      departures += !soundsAsCalledFor(0, pitchOf(0, position),
                                       calledFor(format, key, tonic, step, which));
    });
    if (departures < fewest) fewest = departures, best = tonic;
  }
  return best;
}

// Pull/push sixths of D minor (key 14) lie an octave below the other two directions, save where
// the keyboard lacks the lower note; otherwise the three directions play the same notes. Each
// leans on its side of the bellows: of the 610 entries of a direction, pull plays 70 on the push
// side, push 451 and pull/push 272.
TEST(DiatonicScales, EveryFilledSequenceClimbsItsScaleAndTheDirectionsAgree) {
  std::array<int, 3> push{};
  for (int f = 0; f < 3; ++f) {
    for (int key : FILLED_KEYS) {
      const NOTE_SEQUENCE& pull = sequence(0, f, key);
      for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE("set " + std::to_string(d) + "." + std::to_string(f) + " key " +
                     std::to_string(key));
        const NOTE_SEQUENCE& seq = sequence(d, f, key);
        ASSERT_EQ(seq.scaleSteps, f == SIXTHS ? 8 : 15);
        const int tonic = bestTonic(seq, f, key);
        const int shift = (d == 2 && f == SIXTHS && key == 14) ? -12 : 0;
        forEachEntry(seq, f, [&](int which, int step, int position) {
          const int heard = pitchOf(0, position);
          const int wanted = calledFor(f, key, tonic, step, which);
          const int pulled = pitchOf(0, (which ? pull.note2 : pull.note1)[step]) + shift;
          EXPECT_TRUE(soundsAsCalledFor(0, heard, wanted))
              << "voice " << which << " step " << step << ": position " << position << " sounds "
              << heard << ", the scale calls for " << wanted;
          EXPECT_TRUE(shift == 0 ? heard == pulled : soundsAsCalledFor(0, heard, pulled))
              << "voice " << which << " step " << step << ": pull plays " << pulled;
          push[d] += position >= KB_BUTTONS;
        });
      }
    }
  }
  EXPECT_EQ(push, (std::array{70, 451, 272}));
}

// Row 0 the chromatic scale from c, rows 1 and 2 the whole-tone scales WT0 and WT1 from c and
// -B; each lists the (tuning, step) it plays an octave away for want of the pitch.
TEST(ChromaticAndWholeToneRows, ClimbBySemitonesAndByTones) {
  using Substitutions = std::vector<std::pair<int, int>>;
  struct Row {
    int start, interval;
    Substitutions expected;
  };
  const Row rows[3] = {{60, 1, {{3, 0}}},  // A-D-G has no C and starts on c
                       {60, 2, {{0, 10}, {1, 11}, {1, 12}, {2, 9}, {3, 0}, {3, 11}}},
                       {59, 2, {{1, 9}, {2, 12}}}};
  for (int row = 0; row < 3; ++row) {
    Substitutions substituted;
    for (int t = 0; t < 4; ++t) {
      for (int step = 0; step < COLS_CHROMATIC; ++step) {
        const int position = row == 0 ? scalePatternChromatic[t][step]
                                      : hexPats[t].hexScale[row - 1].iNote[step];
        ASSERT_TRUE(isButton(position)) << "row " << row << " tuning " << t << " step " << step;
        const int heard = pitchOf(t, position);
        const int wanted = rows[row].start + step * rows[row].interval;
        EXPECT_TRUE(soundsAsCalledFor(t, heard, wanted))
            << "row " << row << " tuning " << t << " step " << step << " sounds " << heard;
        if (heard != wanted) substituted.emplace_back(t, step);
      }
    }
    EXPECT_EQ(substituted, rows[row].expected) << "row " << row;
  }
}

}  // namespace
}  // namespace brenavo
