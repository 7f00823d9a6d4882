// The four tunings and every key name, checked against music: names against MIDI numbers, each
// tuning against G-C-F moved, each row of buttons against its key, key names against tonics.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "model_music.h"

using namespace brenavo;

using namespace music;

constexpr int ROW_KEY_GCF[3] = {7, 0, 5};  // G, C and F: the keys of the three rows

static std::string keyName(int pitchClass) {
  static const char* const FLAT[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
  return FLAT[mod12(pitchClass)];
}

// A button's name: "-X" octave 3, "X" octave 4, "x" octave 5, "x+" octave 6; sharps only.
static std::string noteName(int midi) {
  static const char* const SHARP[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  const int octave = midi / 12 - 1;
  std::string name = SHARP[mod12(midi)];
  if (octave < 3 || octave > 6) return "?";
  if (octave >= 5) name[0] = static_cast<char>(std::tolower(name[0]));
  return (octave == 3 ? "-" : "") + name + (octave == 6 ? "+" : "");
}

// Every button sounds G-C-F moved by the tuning's offset and is named after its pitch; the four
// label slots sound nothing and name the tuning and the keys of the inner and outer rows.
TEST(Tunings, ButtonsAreGcfMovedAndLabelSlotsNameTheRowKeys) {
  for (int t = 0; t < 4; ++t) {
    std::string key[3];
    for (int row = 0; row < 3; ++row) key[row] = keyName(ROW_KEY_GCF[row] + TUNING_OFFSET[t]);
    const std::string name = key[0] + "-" + key[1] + "-" + key[2];
    EXPECT_EQ(keyConfig[t].szKeyConfig, name);
    const std::map<int, std::string> slots = {{10, name}, {32, "---"}, {43, key[1]}, {65, key[2]}};
    for (int p = 0; p < KB_POSITIONS; ++p) {
      const int midi = pitchOf(t, p);
      const bool slot = slots.contains(p);
      EXPECT_EQ(keyConfig[t].szNoteName[p], slot ? slots.at(p) : noteName(midi)) << name << p;
      EXPECT_EQ(midi, slot ? 0 : pitchOf(0, p) + TUNING_OFFSET[t]) << name << " " << p;
    }
  }
}

// The push side of a row plays its key's tonic triad (degrees 1, 3, 5), the pull side degrees 2,
// 4, 6, 7; the top button of each row is a note foreign to the key. From the second button on,
// every row climbs. (The other tunings are G-C-F moved.)
TEST(Tunings, EveryRowOfButtonsIsDiatonicInItsKey) {
  const std::set<int> sideDegrees[2] = {{2, 5, 9, 11}, {0, 4, 7}}, major = {0, 2, 4, 5, 7, 9, 11};
  for (int p = 0; p < KB_POSITIONS; ++p) {
    const int button = p % 11, degree = mod12(pitchOf(0, p) - ROW_KEY_GCF[p % KB_BUTTONS / 11]);
    if (isLabelSlot(p)) continue;
    EXPECT_EQ((button ? sideDegrees[p / KB_BUTTONS] : major).contains(degree), button != 0) << p;
    EXPECT_TRUE(button < 2 || pitchOf(0, p) > pitchOf(0, p - 1)) << "position " << p << " climbs";
  }
}

// Major key k and its three pentatonic families are named after its tonic, minor key 12 + k after
// the note three semitones lower; the progressions of each kind start on B and climb by fourths.
TEST(KeyNames, AreTheTonicsMovedByTheOffset) {
  const char* const suffix[3] = {" mayor", " menor", ""};
  for (int t = 0; t < 4; ++t) {
    for (int k = 0; k < 12; ++k) {
      const int tonic = MAJOR_TONIC_GCF[k] + TUNING_OFFSET[t];
      EXPECT_EQ(keyConfig[t].szKeysAvailable[k], keyName(tonic) + " mayor") << t << k;
      EXPECT_EQ(keyConfig[t].szKeysAvailable[12 + k], keyName(tonic - 3) + " menor") << t << k;
      for (int family = 0; family < 3; ++family)
        EXPECT_EQ(pentPats[family].pentScale[k].szName[t], keyName(tonic) + suffix[family]) << t;
    }
    for (int row = 0; row < 36; ++row)
      EXPECT_EQ(circleGroup[row].szCircleName[t], keyName(11 + 5 * row + TUNING_OFFSET[t])) << t;
  }
}
