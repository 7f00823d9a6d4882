// The chord and progression tables checked against harmony: every chord holds exactly the pitch
// classes of its type on its root, root first, within an octave; every progression plays the
// right chords on the right degrees of its key, in every tuning.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "model_music.h"

using namespace brenavo;

using namespace music;

using Intervals = std::vector<int>;  // semitones above the root
const Intervals MAJOR = {0, 4, 7}, MINOR = {0, 3, 7}, DOMINANT_7 = {0, 4, 7, 10};

// The chord, as heard in tuning t, is `intervals` above `root` (in G-C-F): the notes the program
// counts on buttons, root first, within eleven semitones, then -1 to the fifth entry.
static void expectChord(const CHORD& chord, int tuning, int root, const Intervals& intervals) {
  const int notes = chordNoteCount(chord);
  ASSERT_EQ(notes, static_cast<int>(intervals.size()));
  Intervals pitches, heard;
  for (int j = notes; j < 5; ++j) EXPECT_EQ(chord.iNote[j], -1) << "entry " << j;
  for (int j = 0; j < notes; ++j) {
    ASSERT_TRUE(isButton(chord.iNote[j])) << chord.iNote[j];
    pitches.push_back(pitchOf(tuning, chord.iNote[j]));
    heard.push_back(mod12(pitches.back() - root - TUNING_OFFSET[tuning]));
  }
  EXPECT_EQ(heard[0], 0) << "the root comes first";
  std::ranges::sort(heard);
  EXPECT_EQ(heard, intervals);
  EXPECT_LE(std::ranges::max(pitches) - std::ranges::min(pitches), 11);
}

// Chord r of every type, and progression row r, stands on B, E, A, ...: each a fourth up.
TEST(ChordTypes, EveryChordHoldsItsTypeOnItsRootOnThePullSide) {
  // Major, minor, diminished and augmented triads; dominant, major, minor, diminished,
  // half-diminished, #5 and b5 sevenths.
  const Intervals TYPES[11] = {MAJOR,         MINOR,         {0, 3, 6},     {0, 4, 8},
                               DOMINANT_7,    {0, 4, 7, 11}, {0, 3, 7, 10}, {0, 3, 6, 9},
                               {0, 3, 6, 10}, {0, 4, 8, 10}, {0, 4, 6, 10}};
  for (int type = 0; type < 11; ++type)
    for (int r = 0; r < COLS_CHORDS; ++r) {
      const CHORD& chord = chordGroup[type].iChord[r];
      SCOPED_TRACE("type " + std::to_string(type) + " chord " + std::to_string(r + 1));
      EXPECT_EQ(chord.szChordName, std::to_string(r + 1));
      for (int t = 0; t < 4; ++t) expectChord(chord, t, 11 + 5 * r, TYPES[type]);
      EXPECT_LT(*std::max_element(chord.iNote, chord.iNote + chordNoteCount(chord)), KB_BUTTONS);
    }
}

// Rows 0-11 triads, their fourth chord empty; 12-23 harmonic and 24-35 melodic circles.
TEST(Progressions, EveryChordIsItsDegreeOfTheKey) {
  using Degree = std::tuple<const char*, int, Intervals>;  // label, semitones above the tonic
  const Degree I = {"I", 0, MAJOR}, IV = {"IV", 5, MAJOR}, V = {"V", 7, MAJOR},
               VI = {"vi", 9, MINOR}, II = {"ii", 2, MINOR}, V7 = {"V7", 7, DOMINANT_7};
  const std::vector<Degree> PROGRESSION[3] = {{I, IV, V}, {I, VI, II, V7}, {I, VI, IV, V7}};
  for (int row = 0; row < 36; ++row) {
    const std::vector<Degree>& degrees = PROGRESSION[row / 12];
    for (size_t step = 0; step < degrees.size(); ++step) {
      const CHORD& chord = circleGroup[row].iChord[step];
      const auto& [label, semitones, intervals] = degrees[step];
      SCOPED_TRACE("row " + std::to_string(row) + " " + label);
      EXPECT_STREQ(chord.szChordName, label);
      for (int t = 0; t < 4; ++t) expectChord(chord, t, 11 + 5 * row + semitones, intervals);
    }
    const CHORD& fourth = circleGroup[row].iChord[3];
    EXPECT_TRUE(row >= 12 || (!*fourth.szChordName && std::ranges::count(fourth.iNote, 0) == 5));
  }
}
