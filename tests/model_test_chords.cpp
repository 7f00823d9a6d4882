// The chord and progression tables checked against harmony: every chord holds exactly the pitch
// classes of its type on its root, root first, within an octave; every progression plays the
// right chords on the right degrees of its key, in every tuning.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model_music.h"

namespace brenavo {
namespace {

using namespace music;

using Intervals = std::vector<int>;  // semitones above the root
const Intervals MAJOR_TRIAD = {0, 4, 7}, MINOR_TRIAD = {0, 3, 7}, DOMINANT_7 = {0, 4, 7, 10};

// In table order: major, minor, diminished and augmented triads; dominant, major, minor,
// diminished, half-diminished, #5 and b5 sevenths.
const Intervals CHORD_TYPE_INTERVALS[11] = {
    MAJOR_TRIAD,   MINOR_TRIAD,   {0, 3, 6},    {0, 4, 8},     DOMINANT_7,   {0, 4, 7, 11},
    {0, 3, 7, 10}, {0, 3, 6, 9},  {0, 3, 6, 10}, {0, 4, 8, 10}, {0, 4, 6, 10}};

// Root r of every chord type and progression key r, in G-C-F: B, E, A, ... each a fourth up.
int rootClass(int r) { return mod12(11 + 5 * r); }

// The chord, as heard in tuning t, is `intervals` above `root` (a pitch class of G-C-F): the
// notes the program counts, then -1 to the fifth entry; root first, each pitch class once,
// within eleven semitones, on buttons only.
void expectChord(const CHORD& chord, int tuning, int root, const Intervals& intervals) {
  const int notes = chordNoteCount(chord);
  ASSERT_EQ(notes, static_cast<int>(intervals.size()));
  for (int j = notes; j < 5; ++j) EXPECT_EQ(chord.iNote[j], -1) << "entry " << j;
  std::vector<int> pitches;
  for (int j = 0; j < notes; ++j) {
    ASSERT_TRUE(isButton(chord.iNote[j])) << chord.iNote[j];
    pitches.push_back(pitchOf(tuning, chord.iNote[j]));
  }
  const int tunedRoot = mod12(root + TUNING_OFFSET[tuning]);
  EXPECT_EQ(mod12(pitches[0]), tunedRoot) << "the root comes first";
  Intervals heard;
  for (int pitch : pitches) heard.push_back(mod12(pitch - tunedRoot));
  std::sort(heard.begin(), heard.end());
  EXPECT_EQ(heard, intervals);
  const auto [low, high] = std::minmax_element(pitches.begin(), pitches.end());
  EXPECT_LE(*high - *low, 11);
}

TEST(ChordTypes, EveryChordHoldsItsTypeOnItsRootOnThePullSide) {
  for (int type = 0; type < 11; ++type) {
    for (int r = 0; r < COLS_CHORDS; ++r) {
      const CHORD& chord = chordGroup[type].iChord[r];
      SCOPED_TRACE("type " + std::to_string(type) + " chord " + std::to_string(r + 1));
      EXPECT_EQ(chord.szChordName, std::to_string(r + 1));
      for (int t = 0; t < 4; ++t) expectChord(chord, t, rootClass(r), CHORD_TYPE_INTERVALS[type]);
      for (int j = 0; j < chordNoteCount(chord); ++j) EXPECT_LT(chord.iNote[j], KB_BUTTONS);
    }
  }
}

struct Degree {
  const char* label;
  int semitones;  // above the key's tonic
  Intervals intervals;
};
const Degree I = {"I", 0, MAJOR_TRIAD}, IV = {"IV", 5, MAJOR_TRIAD}, V = {"V", 7, MAJOR_TRIAD};
const Degree VI = {"vi", 9, MINOR_TRIAD}, II = {"ii", 2, MINOR_TRIAD}, V7 = {"V7", 7, DOMINANT_7};

// Rows 0-11 triads, 12-23 harmonic circle, 24-35 melodic circle; a triad row's fourth chord is
// empty.
const std::vector<Degree> PROGRESSION[3] = {{I, IV, V}, {I, VI, II, V7}, {I, VI, IV, V7}};

TEST(Progressions, EveryChordIsItsDegreeOfTheKey) {
  for (int row = 0; row < 36; ++row) {
    const std::vector<Degree>& degrees = PROGRESSION[row / 12];
    for (size_t step = 0; step < degrees.size(); ++step) {
      const CHORD& chord = circleGroup[row].iChord[step];
      SCOPED_TRACE("row " + std::to_string(row) + " " + degrees[step].label);
      EXPECT_STREQ(chord.szChordName, degrees[step].label);
      const int root = rootClass(row % 12) + degrees[step].semitones;
      for (int t = 0; t < 4; ++t) expectChord(chord, t, root, degrees[step].intervals);
    }
    if (degrees.size() == 3) {
      EXPECT_STREQ(circleGroup[row].iChord[3].szChordName, "") << row;
      for (int32_t entry : circleGroup[row].iChord[3].iNote) EXPECT_EQ(entry, 0) << row;
    }
  }
}

}  // namespace
}  // namespace brenavo
