// The scale tables checked against music: every diatonic fingering climbs its major or natural
// minor scale, thirds and sixths sound their intervals, the three bellows directions play the same
// notes, and the chromatic and whole-tone rows climb by semitones and tones. A note may stand an
// octave away from where the music calls for it only where the keyboard lacks that pitch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/tables.h"

namespace brenavo {
namespace {

constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int NATURAL_MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
constexpr int NOTES = 0, THIRDS = 1, SIXTHS = 2;
constexpr int FIRST_VOICE = 0, SECOND_VOICE = 1;

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
  int format;
  int key;
  int step;
  int voice;
  int semitones;
};
// G minor in thirds opens on g/a# rather than -G/-A#: -A# is missing, and the first pair stays
// a third apart. The same in the three directions.
constexpr OctaveMove DELIBERATE_MOVES[] = {{THIRDS, 16, 0, FIRST_VOICE, 12}};

bool isButton(int position) {
  return position >= 0 && position < KB_POSITIONS && !isLabelSlot(position);
}

int gcfPitch(int position) { return keyConfig[0].midiKeyNum[position]; }

bool onKeyboard(int tuning, int midi) {
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (!isLabelSlot(p) && keyConfig[tuning].midiKeyNum[p] == midi) return true;
  }
  return false;
}

// The pitch actually heard may differ from the one called for only by an octave, and only
// where the keyboard has no button for the pitch called for.
bool soundsAsCalledFor(int tuning, int heard, int calledFor) {
  return heard == calledFor ||
         (std::abs(heard - calledFor) == 12 && !onKeyboard(tuning, calledFor));
}

const NOTE_SEQUENCE& sequence(int direction, int format, int key) {
  return notePats[direction].iFormat[format].iScale[key];
}

const int32_t* voice(const NOTE_SEQUENCE& seq, int which) {
  return which == FIRST_VOICE ? seq.note1 : seq.note2;
}

int voices(int format) { return format == NOTES ? 1 : 2; }

int expectedSteps(int format) { return format == SIXTHS ? 8 : 15; }

// The pitch the music calls for: the first voice climbs the scale from the tonic; the second
// voice is two degrees higher, and an octave lower in sixths.
int calledFor(int format, const FilledKey& key, int tonic, int step, int which) {
  const int* scale = key.minor ? NATURAL_MINOR : MAJOR;
  const int degree = which == FIRST_VOICE ? step : step + 2;
  int pitch = tonic + 12 * (degree / 7) + scale[degree % 7];
  if (which == SECOND_VOICE && format == SIXTHS) pitch -= 12;
  for (const OctaveMove& move : DELIBERATE_MOVES) {
    if (move.format == format && move.key == key.index && move.step == step &&
        move.voice == which) {
      pitch += move.semitones;
    }
  }
  return pitch;
}

int departures(const NOTE_SEQUENCE& seq, int format, const FilledKey& key, int tonic) {
  int count = 0;
  for (int which = 0; which < voices(format); ++which) {
    for (int step = 0; step < expectedSteps(format); ++step) {
      const int position = voice(seq, which)[step];
      if (!isButton(position) ||
          !soundsAsCalledFor(0, gcfPitch(position), calledFor(format, key, tonic, step, which))) {
        ++count;
      }
    }
  }
  return count;
}

// The octave of the tonic that the sequence fits best.
int bestTonic(const NOTE_SEQUENCE& seq, int format, const FilledKey& key) {
  int best = 0;
  int fewest = 1000;
  for (int octave = 3; octave <= 5; ++octave) {
    const int tonic = 12 * (octave + 1) + key.tonicClass;
    const int count = departures(seq, format, key, tonic);
    if (count < fewest) {
      fewest = count;
      best = tonic;
    }
  }
  return best;
}

TEST(DiatonicScales, EveryFingeringClimbsItsScaleFromTheTonic) {
  for (int d = 0; d < 3; ++d) {
    for (int f = 0; f < 3; ++f) {
      for (const FilledKey& key : FILLED_KEYS) {
        SCOPED_TRACE("set " + std::to_string(d) + "." + std::to_string(f) + " key " +
                     std::to_string(key.index));
        const NOTE_SEQUENCE& seq = sequence(d, f, key.index);
        ASSERT_EQ(seq.scaleSteps, expectedSteps(f));
        const int tonic = bestTonic(seq, f, key);
        for (int which = 0; which < voices(f); ++which) {
          for (int step = 0; step < seq.scaleSteps; ++step) {
            const int position = voice(seq, which)[step];
            ASSERT_TRUE(isButton(position)) << "voice " << which << " step " << step;
            EXPECT_TRUE(
                soundsAsCalledFor(0, gcfPitch(position), calledFor(f, key, tonic, step, which)))
                << "voice " << which << " step " << step << ": position " << position << " sounds "
                << gcfPitch(position) << ", the scale calls for "
                << calledFor(f, key, tonic, step, which);
          }
        }
      }
    }
  }
}

TEST(DiatonicScales, DeliberateOctaveMovesAreNeeded) {
  for (const OctaveMove& move : DELIBERATE_MOVES) {
    for (int d = 0; d < 3; ++d) {
      const NOTE_SEQUENCE& seq = sequence(d, move.format, move.key);
      const int moved = gcfPitch(voice(seq, move.voice)[move.step]);
      const int partner = gcfPitch(voice(seq, 1 - move.voice)[move.step]);
      EXPECT_TRUE(onKeyboard(0, moved - move.semitones)) << "then it is an ordinary substitution";
      EXPECT_FALSE(onKeyboard(0, partner - move.semitones))
          << "the partner could have moved instead";
    }
  }
}

// Heard interval from the first voice to the second: a third up, or a sixth down. Where it is
// off by octaves, one of the two voices must stand in for a pitch the keyboard lacks.
void expectInterval(int format, int first, int second) {
  const std::set<int> wanted = format == THIRDS ? std::set<int>{3, 4} : std::set<int>{-8, -9};
  const int interval = second - first;
  EXPECT_NE(interval, 0);
  if (wanted.contains(interval)) return;
  const int residue = ((interval % 12) + 12) % 12;
  for (int want : wanted) {
    if (((want % 12) + 12) % 12 != residue) continue;
    const int shift = interval - want;
    EXPECT_TRUE(!onKeyboard(0, first + shift) || !onKeyboard(0, second - shift))
        << first << " and " << second << " could sound the interval " << want;
    return;
  }
  ADD_FAILURE() << first << " and " << second << " do not form the interval at all";
}

TEST(DiatonicScales, ThirdsAndSixthsSoundTheirInterval) {
  for (int d = 0; d < 3; ++d) {
    for (int f : {THIRDS, SIXTHS}) {
      for (const FilledKey& key : FILLED_KEYS) {
        const NOTE_SEQUENCE& seq = sequence(d, f, key.index);
        for (int step = 0; step < seq.scaleSteps; ++step) {
          SCOPED_TRACE("set " + std::to_string(d) + "." + std::to_string(f) + " key " +
                       std::to_string(key.index) + " step " + std::to_string(step));
          expectInterval(f, gcfPitch(seq.note1[step]), gcfPitch(seq.note2[step]));
        }
      }
    }
  }
}

TEST(DiatonicScales, TheThreeDirectionsSoundTheSameNotes) {
  for (int f = 0; f < 3; ++f) {
    for (const FilledKey& key : FILLED_KEYS) {
      for (int d = 1; d < 3; ++d) {
        // Pull/push sixths of D minor (key 14) lie an octave below the other two sets, save where
        // the keyboard lacks the lower note.
        const int shift = (d == 2 && f == SIXTHS && key.index == 14) ? -12 : 0;
        const NOTE_SEQUENCE& pull = sequence(0, f, key.index);
        const NOTE_SEQUENCE& other = sequence(d, f, key.index);
        ASSERT_EQ(other.scaleSteps, pull.scaleSteps);
        for (int which = 0; which < voices(f); ++which) {
          for (int step = 0; step < pull.scaleSteps; ++step) {
            const int heard = gcfPitch(voice(other, which)[step]);
            const int wanted = gcfPitch(voice(pull, which)[step]) + shift;
            EXPECT_TRUE(shift == 0 ? heard == wanted : soundsAsCalledFor(0, heard, wanted))
                << "set " << d << "." << f << " key " << key.index << " voice " << which << " step "
                << step << ": " << heard << " against " << wanted;
          }
        }
      }
    }
  }
}

TEST(DiatonicScales, EachDirectionLeansOnItsSideOfTheBellows) {
  const int expectedPush[3] = {70, 451, 272};
  for (int d = 0; d < 3; ++d) {
    int entries = 0;
    int push = 0;
    for (int f = 0; f < 3; ++f) {
      for (const FilledKey& key : FILLED_KEYS) {
        const NOTE_SEQUENCE& seq = sequence(d, f, key.index);
        for (int which = 0; which < voices(f); ++which) {
          for (int step = 0; step < seq.scaleSteps; ++step) {
            ++entries;
            if (voice(seq, which)[step] >= KB_BUTTONS) ++push;
          }
        }
      }
    }
    EXPECT_EQ(entries, 610);
    EXPECT_EQ(push, expectedPush[d]) << "direction " << d;
  }
}

TEST(DiatonicScales, EntriesBeyondTheStepsAndUnlaidKeysAreZero) {
  for (int d = 0; d < 3; ++d) {
    for (int f = 0; f < 3; ++f) {
      for (int k = 0; k < 24; ++k) {
        SCOPED_TRACE("set " + std::to_string(d) + "." + std::to_string(f) + " key " +
                     std::to_string(k));
        const NOTE_SEQUENCE& seq = sequence(d, f, k);
        const bool filled = k <= 4 || (k >= 12 && k <= 16);
        const int used = filled ? seq.scaleSteps : 0;
        if (!filled) {
          EXPECT_EQ(seq.scaleSteps, 8);
        }
        for (int step = used; step < DIATONIC_MAX_STEPS; ++step)
          EXPECT_EQ(seq.note1[step], 0) << step;
        for (int step = f == NOTES ? 0 : used; step < DIATONIC_MAX_STEPS; ++step) {
          EXPECT_EQ(seq.note2[step], 0) << step;
        }
      }
    }
  }
}

// Climbs a row of positions from `start` by `interval` semitones in tuning t and returns the
// steps where the table plays the note an octave away (the keyboard lacks the pitch there).
std::vector<std::pair<int, int>> octaveSubstitutions(int tuning, const int32_t* row, int steps,
                                                     int start, int interval) {
  std::vector<std::pair<int, int>> substituted;
  for (int step = 0; step < steps; ++step) {
    if (!isButton(row[step])) {
      ADD_FAILURE() << "tuning " << tuning << " step " << step << " is no button: " << row[step];
      continue;
    }
    const int heard = keyConfig[tuning].midiKeyNum[row[step]];
    const int wanted = start + step * interval;
    EXPECT_TRUE(soundsAsCalledFor(tuning, heard, wanted))
        << "tuning " << tuning << " step " << step << " sounds " << heard << ", wanted " << wanted;
    if (heard != wanted) substituted.emplace_back(tuning, step);
  }
  return substituted;
}

using Substitutions = std::vector<std::pair<int, int>>;  // (tuning, step from 0)

TEST(ChromaticScale, ClimbsBySemitonesFromC) {
  Substitutions substituted;
  for (int t = 0; t < 4; ++t) {
    const Substitutions found =
        octaveSubstitutions(t, scalePatternChromatic[t], COLS_CHROMATIC, 60, 1);
    substituted.insert(substituted.end(), found.begin(), found.end());
  }
  EXPECT_EQ(substituted, (Substitutions{{3, 0}}));  // A-D-G has no C and starts on c
}

TEST(WholeToneScales, ClimbByTonesFromCAndFromB) {
  Substitutions fromC;
  Substitutions fromB;
  for (int t = 0; t < 4; ++t) {
    const Substitutions c =
        octaveSubstitutions(t, hexPats[t].hexScale[0].iNote, COLS_WHOLETONE, 60, 2);
    const Substitutions b =
        octaveSubstitutions(t, hexPats[t].hexScale[1].iNote, COLS_WHOLETONE, 59, 2);
    fromC.insert(fromC.end(), c.begin(), c.end());
    fromB.insert(fromB.end(), b.begin(), b.end());
  }
  EXPECT_EQ(fromC, (Substitutions{{0, 10}, {1, 11}, {1, 12}, {2, 9}, {3, 0}, {3, 11}}));
  EXPECT_EQ(fromB, (Substitutions{{1, 9}, {2, 12}}));
}

}  // namespace
}  // namespace brenavo
