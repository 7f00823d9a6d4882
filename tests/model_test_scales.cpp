// The scale tables checked against music: every diatonic fingering climbs its major or natural
// minor scale, in thirds above or sixths below where it has two voices; the three bellows
// directions play the same notes, and the chromatic and whole-tone rows climb by semitones and
// tones. A note may stand an octave away from where the music calls for it only where the
// keyboard lacks that pitch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model_music.h"

namespace brenavo {
namespace {

using namespace music;

constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int NATURAL_MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr int NOTES = 0, THIRDS = 1, SIXTHS = 2;

struct FilledKey {
  int index;       // key index of szKeysAvailable
  int tonicClass;  // in G-C-F
  bool minor;
};
// G, C, F, D, Bb major and E, A, D, B, G minor.
constexpr FilledKey FILLED_KEYS[10] = {{0, 7, false},  {1, 0, false}, {2, 5, false}, {3, 2, false},
                                       {4, 10, false}, {12, 4, true}, {13, 9, true}, {14, 2, true},
                                       {15, 11, true}, {16, 7, true}};

// A note the table plays an octave away on purpose although the keyboard has the pitch.
struct OctaveMove {
  int format, key, step, voice, semitones;
};
// G minor in thirds opens on g/a# rather than -G/-A#: -A# is missing, and the first pair stays
// a third apart. The same in the three directions.
constexpr OctaveMove DELIBERATE_MOVES[] = {{THIRDS, 16, 0, 0, 12}};

bool onKeyboard(int tuning, int midi) {
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (!isLabelSlot(p) && pitchOf(tuning, p) == midi) return true;
  }
  return false;
}

// The pitch heard may differ from the one called for only by an octave, and only where the
// keyboard has no button for the pitch called for.
bool soundsAsCalledFor(int tuning, int heard, int calledFor) {
  return heard == calledFor ||
         (std::abs(heard - calledFor) == 12 && !onKeyboard(tuning, calledFor));
}

const NOTE_SEQUENCE& sequence(int direction, int format, int key) {
  return notePats[direction].iFormat[format].iScale[key];
}

const int32_t* voice(const NOTE_SEQUENCE& seq, int which) {
  return which == 0 ? seq.note1 : seq.note2;
}

// Calls visit(voice, step, position) for every entry the sequence plays.
template <typename Visit>
void forEachEntry(const NOTE_SEQUENCE& seq, int format, Visit visit) {
  for (int which = 0; which < (format == NOTES ? 1 : 2); ++which) {
    for (int step = 0; step < seq.scaleSteps; ++step) visit(which, step, voice(seq, which)[step]);
  }
}

std::string where(int direction, int format, int key) {
  return "set " + std::to_string(direction) + "." + std::to_string(format) + " key " +
         std::to_string(key);
}

// The pitch the music calls for: the first voice climbs the scale from the tonic; the second
// voice is two degrees higher, and an octave lower in sixths.
int calledFor(int format, const FilledKey& key, int tonic, int step, int which) {
  const int* scale = key.minor ? NATURAL_MINOR : MAJOR;
  const int degree = step + 2 * which;
  int pitch = tonic + 12 * (degree / 7) + scale[degree % 7] - (which && format == SIXTHS ? 12 : 0);
  for (const OctaveMove& move : DELIBERATE_MOVES) {
    if (move.format == format && move.key == key.index && move.step == step && move.voice == which)
      pitch += move.semitones;
  }
  return pitch;
}

// The octave of the tonic that the sequence fits best.
int bestTonic(const NOTE_SEQUENCE& seq, int format, const FilledKey& key) {
  int best = 0, fewest = 1000;
  for (int tonic = 48 + key.tonicClass; tonic <= 72 + key.tonicClass; tonic += 12) {
    int departures = 0;
    forEachEntry(seq, format, [&](int which, int step, int position) {
      const int wanted = calledFor(format, key, tonic, step, which);
      departures += !isButton(position) || !soundsAsCalledFor(0, pitchOf(0, position), wanted);
    });
    if (departures < fewest) std::tie(fewest, best) = std::tie(departures, tonic);
  }
  return best;
}

// The second voice is held to the scale degree two above the first: thirds sound a third above
// it and sixths a sixth below. Each direction leans on its side of the bellows: of the 610
// entries, pull plays 70 on the push side, push 451 and pull/push 272.
TEST(DiatonicScales, EveryFilledSequenceClimbsItsScaleInThirdsAboveOrSixthsBelow) {
  const int expectedPush[3] = {70, 451, 272};
  for (int d = 0; d < 3; ++d) {
    int entries = 0, push = 0;
    for (int f = 0; f < 3; ++f) {
      for (const FilledKey& key : FILLED_KEYS) {
        SCOPED_TRACE(where(d, f, key.index));
        const NOTE_SEQUENCE& seq = sequence(d, f, key.index);
        ASSERT_EQ(seq.scaleSteps, f == SIXTHS ? 8 : 15);
        const int tonic = bestTonic(seq, f, key);
        forEachEntry(seq, f, [&](int which, int step, int position) {
          ASSERT_TRUE(isButton(position)) << "voice " << which << " step " << step;
          const int wanted = calledFor(f, key, tonic, step, which);
          EXPECT_TRUE(soundsAsCalledFor(0, pitchOf(0, position), wanted))
              << "voice " << which << " step " << step << ": position " << position << " sounds "
              << pitchOf(0, position) << ", the scale calls for " << wanted;
          ++entries;
          push += position >= KB_BUTTONS;
        });
      }
    }
    EXPECT_EQ(entries, 610);
    EXPECT_EQ(push, expectedPush[d]) << "direction " << d;
  }
}

TEST(DiatonicScales, DeliberateOctaveMovesAreNeeded) {
  for (const OctaveMove& move : DELIBERATE_MOVES) {
    for (int d = 0; d < 3; ++d) {
      const NOTE_SEQUENCE& seq = sequence(d, move.format, move.key);
      const int moved = pitchOf(0, voice(seq, move.voice)[move.step]);
      const int partner = pitchOf(0, voice(seq, 1 - move.voice)[move.step]);
      EXPECT_TRUE(onKeyboard(0, moved - move.semitones)) << "then it is an ordinary substitution";
      EXPECT_FALSE(onKeyboard(0, partner - move.semitones)) << "the partner could have moved";
    }
  }
}

TEST(DiatonicScales, TheThreeDirectionsSoundTheSameNotes) {
  for (int f = 0; f < 3; ++f) {
    for (const FilledKey& key : FILLED_KEYS) {
      const NOTE_SEQUENCE& pull = sequence(0, f, key.index);
      for (int d = 1; d < 3; ++d) {
        // Pull/push sixths of D minor (key 14) lie an octave below the other two sets, save where
        // the keyboard lacks the lower note.
        const int shift = (d == 2 && f == SIXTHS && key.index == 14) ? -12 : 0;
        const NOTE_SEQUENCE& other = sequence(d, f, key.index);
        ASSERT_EQ(other.scaleSteps, pull.scaleSteps);
        forEachEntry(other, f, [&](int which, int step, int position) {
          const int heard = pitchOf(0, position);
          const int wanted = pitchOf(0, voice(pull, which)[step]) + shift;
          EXPECT_TRUE(shift == 0 ? heard == wanted : soundsAsCalledFor(0, heard, wanted))
              << where(d, f, key.index) << " voice " << which << " step " << step << ": " << heard
              << " against " << wanted;
        });
      }
    }
  }
}

using Substitutions = std::vector<std::pair<int, int>>;  // (tuning, step) played an octave away

// Row 0 the chromatic scale, rows 1 and 2 the whole-tone scales WT0 and WT1.
const int32_t* climbingRow(int row, int tuning) {
  return row == 0 ? scalePatternChromatic[tuning] : hexPats[tuning].hexScale[row - 1].iNote;
}

TEST(ChromaticAndWholeToneRows, ClimbBySemitonesAndByTones) {
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
        const int position = climbingRow(row, t)[step];
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
