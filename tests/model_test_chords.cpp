// The chord and progression tables checked against harmony: every chord holds exactly the pitch
// classes of its type on its root, root first, within an octave; every progression plays the
// right chords on the right degrees of its key, in every tuning.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/tables.h"

namespace brenavo {
namespace {

constexpr int TUNING_OFFSET[4] = {0, -3, -2, 2};  // G-C-F, E-A-D, F-Bb-Eb, A-D-G

const std::vector<int> MAJOR_TRIAD = {0, 4, 7};
const std::vector<int> MINOR_TRIAD = {0, 3, 7};
const std::vector<int> DOMINANT_SEVENTH = {0, 4, 7, 10};

// Semitones above the root of each chord type, in table order.
const std::vector<int> CHORD_TYPE_INTERVALS[11] = {
    MAJOR_TRIAD,       // triadas mayores
    MINOR_TRIAD,       // triadas menores
    {0, 3, 6},         // triadas disminuidas
    {0, 4, 8},         // triadas aumentadas
    DOMINANT_SEVENTH,  // septimas de dominante
    {0, 4, 7, 11},     // septimas mayores
    {0, 3, 7, 10},     // septimas menores
    {0, 3, 6, 9},      // septimas disminuidas
    {0, 3, 6, 10},     // septimas de sensible (half-diminished)
    {0, 4, 8, 10},     // septimas de dominante (#5)
    {0, 4, 6, 10},     // septimas de dominante (b5)
};

int mod12(int value) { return ((value % 12) + 12) % 12; }

// Root r of every chord type and progression key r, in G-C-F: B, E, A, ... each a fourth up.
int rootClass(int r) { return mod12(11 + 5 * r); }

// The positions of a chord up to its -1; fails the test if the -1 is missing or is not
// followed by -1 up to the fifth entry.
std::vector<int> chordPositions(const CHORD& chord) {
  std::vector<int> positions;
  int j = 0;
  while (j < 5 && chord.iNote[j] != -1) positions.push_back(chord.iNote[j++]);
  EXPECT_LT(j, 5) << "no -1 within five entries";
  for (; j < 5; ++j) EXPECT_EQ(chord.iNote[j], -1) << "entry " << j;
  return positions;
}

// The chord, as heard in tuning t, is `intervals` above `root` (a pitch class of G-C-F):
// root first, each pitch class once, within eleven semitones, on buttons 0-65.
void expectChord(const CHORD& chord, int tuning, int root, const std::vector<int>& intervals) {
  const std::vector<int> positions = chordPositions(chord);
  ASSERT_EQ(positions.size(), intervals.size());
  std::vector<int> pitches;
  for (int position : positions) {
    ASSERT_TRUE(position >= 0 && position < KB_POSITIONS && !isLabelSlot(position)) << position;
    pitches.push_back(keyConfig[tuning].midiKeyNum[position]);
  }
  const int tunedRoot = mod12(root + TUNING_OFFSET[tuning]);
  EXPECT_EQ(mod12(pitches[0]), tunedRoot) << "the root comes first";
  std::vector<int> heard;
  for (int pitch : pitches) heard.push_back(mod12(pitch - tunedRoot));
  std::sort(heard.begin(), heard.end());
  EXPECT_EQ(heard, intervals);
  const auto [low, high] = std::minmax_element(pitches.begin(), pitches.end());
  EXPECT_LE(*high - *low, 11);
}

TEST(ChordTypes, EveryChordHoldsItsTypeOnItsRoot) {
  for (int type = 0; type < 11; ++type) {
    for (int r = 0; r < COLS_CHORDS; ++r) {
      const CHORD& chord = chordGroup[type].iChord[r];
      EXPECT_EQ(chord.szChordName, std::to_string(r + 1));
      for (int t = 0; t < 4; ++t) {
        SCOPED_TRACE("type " + std::to_string(type) + " chord " + std::to_string(r + 1) +
                     " tuning " + std::to_string(t));
        expectChord(chord, t, rootClass(r), CHORD_TYPE_INTERVALS[type]);
      }
      for (int position : chordPositions(chord))
        EXPECT_LT(position, KB_BUTTONS) << "pull side only";
    }
  }
}

struct Degree {
  const char* label;
  int semitones;  // above the key's tonic
  const std::vector<int>* intervals;
};
const Degree I = {"I", 0, &MAJOR_TRIAD};
const Degree IV = {"IV", 5, &MAJOR_TRIAD};
const Degree V = {"V", 7, &MAJOR_TRIAD};
const Degree VI = {"vi", 9, &MINOR_TRIAD};
const Degree II = {"ii", 2, &MINOR_TRIAD};
const Degree V7 = {"V7", 7, &DOMINANT_SEVENTH};

// Rows 0-11 triads, 12-23 harmonic circle, 24-35 melodic circle.
const std::vector<Degree> PROGRESSION[3] = {{I, IV, V}, {I, VI, II, V7}, {I, VI, IV, V7}};

TEST(Progressions, EveryChordIsItsDegreeOfTheKey) {
  for (int row = 0; row < 36; ++row) {
    const int tonic = rootClass(row % 12);
    const std::vector<Degree>& degrees = PROGRESSION[row / 12];
    for (size_t step = 0; step < degrees.size(); ++step) {
      const CHORD& chord = circleGroup[row].iChord[step];
      EXPECT_STREQ(chord.szChordName, degrees[step].label) << "row " << row << " step " << step;
      for (int t = 0; t < 4; ++t) {
        SCOPED_TRACE("row " + std::to_string(row) + " " + degrees[step].label + " tuning " +
                     std::to_string(t));
        expectChord(chord, t, tonic + degrees[step].semitones, *degrees[step].intervals);
      }
    }
  }
}

TEST(Progressions, TriadRowsCarryAnEmptyFourthChord) {
  for (int row = 0; row < 12; ++row) {
    const CHORD& empty = circleGroup[row].iChord[3];
    EXPECT_STREQ(empty.szChordName, "") << row;
    for (int32_t entry : empty.iNote) EXPECT_EQ(entry, 0) << row;
  }
}

TEST(Progressions, OnlySomeRowsUseThePushSide) {
  std::vector<int> rowsWithPush;
  for (int row = 0; row < 36; ++row) {
    const int chords = row < 12 ? COLS_PROGS_3 : COLS_PROGS_4;
    bool push = false;
    for (int step = 0; step < chords; ++step) {
      for (int position : chordPositions(circleGroup[row].iChord[step]))
        push |= position >= KB_BUTTONS;
    }
    if (push) rowsWithPush.push_back(row);
  }
  EXPECT_EQ(rowsWithPush,
            (std::vector<int>{1, 2, 4, 5, 6, 7, 15, 16, 17, 18, 19, 27, 28, 29, 30, 31}));
}

}  // namespace
}  // namespace brenavo
