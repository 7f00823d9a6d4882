// The four tunings and every key name, checked against music: note names against MIDI numbers,
// each tuning against G-C-F moved by its offset, each row of buttons against its key, and key
// names against their tonics.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "model_music.h"

namespace brenavo {
namespace {

using namespace music;

constexpr int ROW_KEY_GCF[3] = {7, 0, 5};  // G, C and F: the keys of the three rows
// Tonics of the 12 major keys of G-C-F, by key index: G C F D Bb B E A Eb Ab Db Gb.
constexpr int MAJOR_TONIC_GCF[12] = {7, 0, 5, 2, 10, 11, 4, 9, 3, 8, 1, 6};

std::string keyName(int pitchClass) {
  static const char* const FLAT[12] = {"C", "Db", "D", "Eb", "E", "F",
                                       "Gb", "G", "Ab", "A", "Bb", "B"};
  return FLAT[mod12(pitchClass)];
}

// A button's name: "-X" octave 3, "X" octave 4, "x" octave 5, "x+" octave 6; sharps only.
std::string noteName(int midi) {
  static const char* const SHARP[12] = {"C", "C#", "D", "D#", "E", "F",
                                        "F#", "G", "G#", "A", "A#", "B"};
  const int octave = midi / 12 - 1;
  std::string name = SHARP[mod12(midi)];
  if (octave < 3 || octave > 6) return "?";
  if (octave == 3) return "-" + name;
  if (octave >= 5) name[0] = static_cast<char>(std::tolower(name[0]));
  return octave == 6 ? name + "+" : name;
}

TEST(Tunings, EveryButtonIsGcfMovedByItsOffsetAndNamedAfterItsPitch) {
  EXPECT_EQ(noteName(54), "-F#");
  EXPECT_EQ(noteName(72), "c");
  EXPECT_EQ(noteName(85), "c#+");
  for (int t = 0; t < 4; ++t) {
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const int midi = pitchOf(t, p);
      EXPECT_EQ(keyConfig[t].szNoteName[p], noteName(midi)) << "tuning " << t << " position " << p;
      EXPECT_EQ(midi, pitchOf(0, p) + TUNING_OFFSET[t]) << "tuning " << t << " position " << p;
    }
  }
}

TEST(Tunings, NamesAndLabelSlotsFollowTheRowKeys) {
  for (int t = 0; t < 4; ++t) {
    const ACC_KEYBOARD& tuning = keyConfig[t];
    std::string rowKey[3];
    for (int row = 0; row < 3; ++row) rowKey[row] = keyName(ROW_KEY_GCF[row] + TUNING_OFFSET[t]);
    const std::string name = rowKey[0] + "-" + rowKey[1] + "-" + rowKey[2];
    EXPECT_EQ(tuning.szKeyConfig, name);
    EXPECT_EQ(tuning.szNoteName[10], name);
    EXPECT_STREQ(tuning.szNoteName[32], "---") << name;
    EXPECT_EQ(tuning.szNoteName[43], rowKey[1]);
    EXPECT_EQ(tuning.szNoteName[65], rowKey[2]);
    for (int slot : {10, 32, 43, 65}) EXPECT_EQ(tuning.midiKeyNum[slot], 0) << name << " " << slot;
  }
}

// On a diatonic accordion the push side of a row plays its key's tonic triad (degrees 1, 3, 5)
// and the pull side degrees 2, 4, 6, 7; the top button of each row is a note foreign to the
// key. From the second button on, every row climbs. (The other tunings are G-C-F moved.)
TEST(Tunings, EveryRowOfButtonsIsDiatonicInItsKey) {
  const std::set<int> sideDegrees[2] = {{2, 5, 9, 11}, {0, 4, 7}};
  const std::set<int> majorScale = {0, 2, 4, 5, 7, 9, 11};
  for (int side = 0; side < 2; ++side) {
    for (int row = 0; row < 3; ++row) {
      int previous = 0;
      for (int button = 0; button < 11; ++button) {
        const int p = side * KB_BUTTONS + row * 11 + button;
        if (isLabelSlot(p)) continue;
        const int degree = mod12(pitchOf(0, p) - ROW_KEY_GCF[row]);
        if (button == 0) {
          EXPECT_FALSE(majorScale.contains(degree)) << "position " << p;
          continue;
        }
        EXPECT_TRUE(sideDegrees[side].contains(degree)) << "position " << p << " degree " << degree;
        EXPECT_GT(pitchOf(0, p), previous) << "position " << p;
        previous = pitchOf(0, p);
      }
    }
  }
}

TEST(KeyNames, AreTheTonicsMovedByTheOffset) {
  const char* const pentatonicSuffix[3] = {" mayor", " menor", ""};
  for (int t = 0; t < 4; ++t) {
    SCOPED_TRACE(keyConfig[t].szKeyConfig);
    for (int k = 0; k < 12; ++k) {
      const int tonic = MAJOR_TONIC_GCF[k] + TUNING_OFFSET[t];
      EXPECT_EQ(keyConfig[t].szKeysAvailable[k], keyName(tonic) + " mayor") << k;
      // The minor key 12 + k is the relative minor of major key k.
      EXPECT_EQ(keyConfig[t].szKeysAvailable[12 + k], keyName(tonic - 3) + " menor") << k;
      for (int family = 0; family < 3; ++family) {
        EXPECT_EQ(pentPats[family].pentScale[k].szName[t],
                  keyName(tonic) + pentatonicSuffix[family]) << "family " << family << " " << k;
      }
    }
    // The progressions of each kind start on B and climb by fourths.
    for (int row = 0; row < 36; ++row) {
      EXPECT_EQ(circleGroup[row].szCircleName[t], keyName(11 + 5 * row + TUNING_OFFSET[t]))
          << "progression row " << row;
    }
  }
}

}  // namespace
}  // namespace brenavo
