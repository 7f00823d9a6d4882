// The four tunings and every name the tables carry, checked against music: note names against
// MIDI numbers, each tuning against G-C-F moved by its offset, each row of buttons against its
// key, and key names against their tonics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "model/tables.h"

namespace brenavo {
namespace {

constexpr int TUNING_OFFSET[4] = {0, -3, -2, 2};  // G-C-F, E-A-D, F-Bb-Eb, A-D-G
constexpr int ROW_KEY_GCF[3] = {7, 0, 5};         // G, C and F: the keys of the three rows
// Tonics of the 12 major keys of G-C-F, by key index: G C F D Bb B E A Eb Ab Db Gb.
constexpr int MAJOR_TONIC_GCF[12] = {7, 0, 5, 2, 10, 11, 4, 9, 3, 8, 1, 6};
const char* const FLAT_NAME[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};

int mod12(int value) { return ((value % 12) + 12) % 12; }

std::string keyName(int pitchClass) { return FLAT_NAME[mod12(pitchClass)]; }

// The MIDI number a note name stands for, or -1 when the name breaks the notation:
// "-X" octave 3, "X" octave 4, "x" octave 5, "x+" octave 6; sharps only.
int midiOfNoteName(std::string_view name) {
  static constexpr std::string_view LETTERS = "CDEFGAB";
  static constexpr int LETTER_PITCH[7] = {0, 2, 4, 5, 7, 9, 11};
  int octave = 4;
  if (name.starts_with('-')) {
    octave = 3;
    name.remove_prefix(1);
  }
  if (name.empty()) return -1;
  const bool lower = std::islower(static_cast<unsigned char>(name[0])) != 0;
  if (lower) {
    if (octave == 3) return -1;
    octave = 5;
    if (name.ends_with('+')) {
      octave = 6;
      name.remove_suffix(1);
    }
  }
  const size_t letter =
      LETTERS.find(static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))));
  if (letter == std::string_view::npos) return -1;
  name.remove_prefix(1);
  int sharp = 0;
  if (name == "#") {
    sharp = 1;
  } else if (!name.empty()) {
    return -1;
  }
  return 12 * (octave + 1) + LETTER_PITCH[letter] + sharp;
}

std::vector<std::string> splitOnDash(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t dash = text.find('-'); dash != std::string::npos; dash = text.find('-', start)) {
    parts.push_back(text.substr(start, dash - start));
    start = dash + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

TEST(NoteNotation, ReadsOctaveMarksAndSharps) {
  EXPECT_EQ(midiOfNoteName("-A"), 57);
  EXPECT_EQ(midiOfNoteName("-F#"), 54);
  EXPECT_EQ(midiOfNoteName("C"), 60);
  EXPECT_EQ(midiOfNoteName("A#"), 70);
  EXPECT_EQ(midiOfNoteName("c"), 72);
  EXPECT_EQ(midiOfNoteName("b"), 83);
  EXPECT_EQ(midiOfNoteName("c#+"), 85);
  EXPECT_EQ(midiOfNoteName("b+"), 95);
  for (const char* broken : {"", "-", "Bb", "-c", "C+", "H", "c##", "#"}) {
    EXPECT_EQ(midiOfNoteName(broken), -1) << broken;
  }
}

TEST(Tunings, EveryNoteNameAgreesWithItsMidiNumber) {
  int buttons = 0;
  for (int t = 0; t < 4; ++t) {
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const std::string name = keyConfig[t].szNoteName[p];
      EXPECT_EQ(midiOfNoteName(name), keyConfig[t].midiKeyNum[p])
          << keyConfig[t].szKeyConfig << " position " << p << " \"" << name << "\"";
      EXPECT_LE(name.size(), 3u);
      ++buttons;
    }
  }
  EXPECT_EQ(buttons, 248);
}

TEST(Tunings, EveryTuningIsGcfMovedByItsOffset) {
  for (int t = 0; t < 4; ++t) {
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      EXPECT_EQ(keyConfig[t].midiKeyNum[p], keyConfig[0].midiKeyNum[p] + TUNING_OFFSET[t])
          << keyConfig[t].szKeyConfig << " position " << p;
    }
  }
}

TEST(Tunings, NamesAndLabelSlotsFollowTheRowKeys) {
  for (int t = 0; t < 4; ++t) {
    const ACC_KEYBOARD& tuning = keyConfig[t];
    SCOPED_TRACE(tuning.szKeyConfig);
    const std::vector<std::string> rowKeys = splitOnDash(tuning.szKeyConfig);
    ASSERT_EQ(rowKeys.size(), 3u);
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(rowKeys[row], keyName(ROW_KEY_GCF[row] + TUNING_OFFSET[t]));
    }
    EXPECT_STREQ(tuning.szNoteName[10], tuning.szKeyConfig);
    EXPECT_STREQ(tuning.szNoteName[32], "---");
    EXPECT_EQ(tuning.szNoteName[43], rowKeys[1]);
    EXPECT_EQ(tuning.szNoteName[65], rowKeys[2]);
    for (int slot : {10, 32, 43, 65}) EXPECT_EQ(tuning.midiKeyNum[slot], 0) << slot;
  }
}

// On a diatonic accordion the push side of a row plays its key's tonic triad (degrees 1, 3, 5)
// and the pull side degrees 2, 4, 6, 7; the top button of each column is a note foreign to the
// key. From the second button on, every column climbs.
TEST(Tunings, EveryRowOfButtonsIsDiatonicInItsKey) {
  const std::vector<int> pullDegrees = {2, 5, 9, 11};
  const std::vector<int> pushDegrees = {0, 4, 7};
  const std::vector<int> majorScale = {0, 2, 4, 5, 7, 9, 11};
  auto contains = [](const std::vector<int>& set, int value) {
    return std::find(set.begin(), set.end(), value) != set.end();
  };
  for (int t = 0; t < 4; ++t) {
    for (int side = 0; side < 2; ++side) {
      for (int column = 0; column < 3; ++column) {
        int previous = 0;
        for (int row = 0; row < 11; ++row) {
          const int p = side * KB_BUTTONS + column * 11 + row;
          if (isLabelSlot(p)) continue;
          SCOPED_TRACE(std::string(keyConfig[t].szKeyConfig) + " position " + std::to_string(p));
          const int midi = keyConfig[t].midiKeyNum[p];
          const int degree = mod12(midi - ROW_KEY_GCF[column] - TUNING_OFFSET[t]);
          if (row == 0) {
            EXPECT_FALSE(contains(majorScale, degree));
            continue;
          }
          EXPECT_TRUE(contains(side == 0 ? pullDegrees : pushDegrees, degree)) << degree;
          EXPECT_GT(midi, previous);
          previous = midi;
        }
      }
    }
  }
}

TEST(Tunings, KeyNamesAreTheTonicsMovedByTheOffset) {
  for (int t = 0; t < 4; ++t) {
    SCOPED_TRACE(keyConfig[t].szKeyConfig);
    for (int k = 0; k < 12; ++k) {
      const int tonic = MAJOR_TONIC_GCF[k] + TUNING_OFFSET[t];
      EXPECT_EQ(keyConfig[t].szKeysAvailable[k], keyName(tonic) + " mayor") << k;
      // The minor key 12 + k is the relative minor of major key k.
      EXPECT_EQ(keyConfig[t].szKeysAvailable[12 + k], keyName(tonic - 3) + " menor") << 12 + k;
    }
  }
}

TEST(Pentatonic, NamesFollowTheMajorKeysOfTheTuning) {
  const char* const familyType[3] = {"pentatonica /", "pentatonica /", "pentatonica / blues /"};
  const char* const familySuffix[3] = {" mayor", " menor", ""};
  for (int family = 0; family < 3; ++family) {
    EXPECT_STREQ(pentPats[family].szType, familyType[family]);
    for (int k = 0; k < 12; ++k) {
      const PENT_SCALE& scale = pentPats[family].pentScale[k];
      for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(scale.szName[t],
                  keyName(MAJOR_TONIC_GCF[k] + TUNING_OFFSET[t]) + familySuffix[family])
            << "family " << family << " entry " << k << " tuning " << t;
      }
      EXPECT_EQ(scale.scaleSteps, PENT_STEPS);
      for (int32_t position : scale.iNote) EXPECT_EQ(position, 0);
    }
  }
}

TEST(Progressions, KeyNamesFollowTheRootMovedByTheOffset) {
  for (int row = 0; row < 36; ++row) {
    const int root = 11 + 5 * (row % 12);
    for (int t = 0; t < 4; ++t) {
      EXPECT_EQ(circleGroup[row].szCircleName[t], keyName(root + TUNING_OFFSET[t]))
          << "row " << row << " tuning " << t;
    }
  }
}

// The texts the status bar and the menus show.
TEST(Tables, ShownTextsAreThoseOfTheProgram) {
  const char* const direction[3] = {"DIRECCION: pull", "DIRECCION: push", "DIRECCION: pull/push"};
  const char* const format[3] = {"FORMATO: notas sencillas", "FORMATO: terceras",
                                 "FORMATO: sextas"};
  for (int d = 0; d < 3; ++d) {
    EXPECT_STREQ(notePats[d].szDirec, direction[d]);
    for (int f = 0; f < 3; ++f) EXPECT_STREQ(notePats[d].iFormat[f].szFormat, format[f]);
  }
  for (const WT_FORMATS& tuning : hexPats) {
    EXPECT_STREQ(tuning.hexScale[0].szName, "Hexatonica / WT0");
    EXPECT_STREQ(tuning.hexScale[1].szName, "Hexatonica / WT1");
  }
  const char* const chordType[11] = {"Triadas mayores",           "Triadas menores",
                                     "Triadas disminuidas",       "Triadas aumentadas",
                                     "Septimas de dominante",     "Septimas mayores",
                                     "Septimas menores",          "Septimas disminuidas",
                                     "Septimas de sensible",      "Septimas de dominante (#5)",
                                     "Septimas de dominante (b5)"};
  for (int type = 0; type < 11; ++type) EXPECT_STREQ(chordGroup[type].szChordType, chordType[type]);
}

}  // namespace
}  // namespace brenavo
