#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "settings/settings_store.h"

namespace brenavo {
namespace {

const std::vector<std::string> kValueOrder = {
    "dBox_accKey", "dBox_accKey2", "dBox_bellowsDirec", "dBox_bellowsDirec2", "dBox_midiVoice",
    "z__index",    "z_diatonic",   "z_chord",           "z_circle",           "z_chromatic",
    "z_wholeTone", "z_pentatonic", "scaleSteps",        "formatSelected",     "formatSelected2",
    "playbackSpeed", "pentScaleType"};

// The seventeen saved variables, in the order of the store.
std::vector<int32_t> savedOf(const SelectionState& s) {
  return {s.keySel,       s.keySel2,      s.direcSel,      s.direcSel2,  s.midiVoice,
          s.scpIndex,     s.diatonicSel,  s.chordSel,      s.circleSel,  s.chromaticSel,
          s.wholeToneSel, s.pentatonicSel, s.scaleSteps,   s.formatSel,  s.formatSel2,
          s.vPos,         s.pentType};
}

std::vector<std::string> prefixed(const std::string& prefix, const std::vector<std::string>& names) {
  std::vector<std::string> lines;
  for (const std::string& name : names) lines.push_back(prefix + name);
  return lines;
}

class SettingsStore : public ::testing::Test {
 protected:
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  const std::vector<int32_t> initialValues = savedOf(SelectionState{});
};

TEST_F(SettingsStore, FirstRunCreatesTheKeyWithTheInitialValues) {
  loadSettings(program);
  std::vector<std::string> expected = {"store.open", "store.string app_Version 2.0.1",
                                       "store.string app_LastMod Tues.11.Jan.05"};
  for (size_t i = 0; i < kValueOrder.size(); ++i)
    expected.push_back("store.write " + kValueOrder[i] + " " + std::to_string(initialValues[i]));
  expected.push_back("store.close");
  EXPECT_EQ(fake.log, expected);
  EXPECT_EQ(fake.storedDwords.at("scaleSteps"), 0);
  // Nothing was read: the step count stays 0 for window creation to turn into 15.
  EXPECT_EQ(savedOf(program.sel), initialValues);
}

TEST_F(SettingsStore, SaveWritesTheSeventeenValuesOnly) {
  program.sel.vPos = 9;
  saveSettings(program);
  EXPECT_EQ(fake.logOf("store.string"), std::vector<std::string>{});
  EXPECT_EQ(fake.storeWriteOrder, kValueOrder);
  EXPECT_EQ(fake.storedDwords.at("playbackSpeed"), 9);
  EXPECT_EQ(fake.log.front(), "store.open");
  EXPECT_EQ(fake.log.back(), "store.close");
}

TEST_F(SettingsStore, SecondRunReadsWhatTheFirstSaved) {
  SelectionState& saved = program.sel;
  saved.keySel = IDRB_FBE, saved.keySel2 = 2, saved.direcSel = IDRB_MIXED, saved.direcSel2 = 2;
  saved.midiVoice = IDRB_GUITAR_STEEL, saved.vPos = 14;
  saved.formatSel = IDM_SCALE_THIRDS, saved.formatSel2 = 1;
  saved.diatonicSel = 0, saved.pentatonicSel = 259, saved.pentType = 2, saved.scpIndex = 1;
  saved.scaleSteps = 11;
  saveSettings(program);

  Program next{fake.services()};
  fake.clearLog();
  loadSettings(next);
  EXPECT_EQ(fake.log.front(), "store.open");
  EXPECT_EQ(fake.logOf("store.read"), prefixed("store.read ", kValueOrder));
  EXPECT_EQ(fake.log.back(), "store.close");
  EXPECT_EQ(savedOf(next.sel), savedOf(saved));
}

TEST_F(SettingsStore, MissingValuesKeepTheirInitialValues) {
  fake.storeExists = true;
  fake.storedDwords = {{"dBox_accKey", IDRB_EAD}, {"dBox_accKey2", 1}, {"playbackSpeed", 6}};
  loadSettings(program);
  std::vector<int32_t> expected = initialValues;
  expected[0] = IDRB_EAD, expected[1] = 1, expected[15] = 6;
  expected[12] = 15;  // the step count follows the selection once a store was read
  EXPECT_EQ(savedOf(program.sel), expected);
  EXPECT_TRUE(fake.logOf("store.write").empty());
}

TEST_F(SettingsStore, AFailedOpenLeavesEverythingAlone) {
  fake.storeFails = true;
  loadSettings(program);
  EXPECT_EQ(savedOf(program.sel), initialValues);
  program.sel.vPos = 3;
  saveSettings(program);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"store.open", "store.open"}));
  EXPECT_TRUE(fake.storedDwords.empty());
}

TEST_F(SettingsStore, HandEditedValuesAreCheckedAfterLoading) {
  fake.storeExists = true;
  fake.storedDwords = {{"dBox_accKey", 77}, {"dBox_accKey2", 3},  {"z_diatonic", 0},
                       {"z_chord", 305},    {"z__index", 5},      {"scaleSteps", 99},
                       {"playbackSpeed", 0}, {"dBox_midiVoice", 41}};
  loadSettings(program);
  EXPECT_EQ(program.sel.keySel, IDRB_GCF);
  EXPECT_EQ(program.sel.keySel2, 0);
  EXPECT_EQ(program.sel.chordSel, 305);
  EXPECT_EQ(program.sel.scaleSteps, 12);
  EXPECT_EQ(program.sel.vPos, 1);
  EXPECT_EQ(program.sel.midiVoice, IDRB_TANGO_ACC);
}

// Validation of single hand-edited values.
class LoadedSelection : public ::testing::Test {
 protected:
  template <typename Edit>
  static SelectionState validated(Edit edit) {
    SelectionState s;
    edit(s);
    validateLoadedSelection(s);
    return s;
  }
  static void expectInitialSelection(const SelectionState& s) {
    EXPECT_EQ(s.chromaticSel, 0);
    EXPECT_EQ(s.diatonicSel, 210);
    EXPECT_EQ(s.pentatonicSel, 0);
    EXPECT_EQ(s.wholeToneSel, 0);
    EXPECT_EQ(s.chordSel, 0);
    EXPECT_EQ(s.circleSel, 0);
    EXPECT_EQ(s.scpIndex, 0);
  }
};

TEST_F(LoadedSelection, RadioIdsWinOverTheirIndices) {
  SelectionState s = validated([](SelectionState& e) {
    e.keySel = 1013, e.keySel2 = 7, e.direcSel = 1023, e.direcSel2 = -1;
    e.formatSel = 203, e.formatSel2 = 0;
  });
  EXPECT_EQ(s.keySel2, 2);
  EXPECT_EQ(s.direcSel2, 2);
  EXPECT_EQ(s.formatSel2, 2);
  EXPECT_EQ(s.scaleSteps, 8);

  s = validated([](SelectionState& e) {
    e.keySel = 1015, e.keySel2 = 3, e.direcSel = 1020, e.direcSel2 = 1;
    e.formatSel = 204, e.formatSel2 = 2;
  });
  EXPECT_EQ(s.keySel, 1011);
  EXPECT_EQ(s.keySel2, 0);
  EXPECT_EQ(s.direcSel, 1021);
  EXPECT_EQ(s.direcSel2, 0);
  EXPECT_EQ(s.formatSel, 201);
  EXPECT_EQ(s.formatSel2, 0);
}

TEST_F(LoadedSelection, TempoAndVoiceStayInTheirSets) {
  EXPECT_EQ(validated([](SelectionState& e) { e.vPos = -4; }).vPos, 1);
  EXPECT_EQ(validated([](SelectionState& e) { e.vPos = 21; }).vPos, 20);
  EXPECT_EQ(validated([](SelectionState& e) { e.vPos = 20; }).vPos, 20);
  for (int32_t voice : {23, 72, 0, 24})
    EXPECT_EQ(validated([voice](SelectionState& e) { e.midiVoice = voice; }).midiVoice, voice);
  for (int32_t voice : {1, 22, 25, 73, -23})
    EXPECT_EQ(validated([voice](SelectionState& e) { e.midiVoice = voice; }).midiVoice, 23);
  EXPECT_EQ(validated([](SelectionState& e) { e.pentType = 3; }).pentType, 0);
}

TEST_F(LoadedSelection, InconsistentSelectionsFallBackToTheFirstScale) {
  void (*edits[])(SelectionState&) = {
      [](SelectionState& e) { e.chordSel = 300; },                        // two kinds
      [](SelectionState& e) { e.diatonicSel = 227, e.scpIndex = 17; },    // greyed minor row
      [](SelectionState& e) { e.diatonicSel = 212, e.scpIndex = 3; },     // row disagrees
      [](SelectionState& e) { e.diatonicSel = -210; },
      [](SelectionState& e) { e.diatonicSel = 0, e.chromaticSel = 2; },
      [](SelectionState& e) { e.diatonicSel = 0, e.pentatonicSel = 250, e.pentType = 0, e.scpIndex = 4; },
      [](SelectionState& e) { e.diatonicSel = 0, e.pentatonicSel = 270, e.pentType = 3, e.scpIndex = 0; },
      [](SelectionState& e) { e.diatonicSel = 0, e.wholeToneSel = 272, e.scpIndex = 2; },
      [](SelectionState& e) { e.diatonicSel = 0, e.chordSel = 311, e.scpIndex = 11; },
      [](SelectionState& e) { e.diatonicSel = 0, e.circleSel = 436, e.scpIndex = 36; },
      [](SelectionState& e) { e.diatonicSel = 0, e.circleSel = 420, e.scpIndex = 19; },
  };
  for (auto edit : edits) {
    SelectionState s = validated(edit);
    expectInitialSelection(s);
    EXPECT_EQ(s.scaleSteps, 15);
  }
}

TEST_F(LoadedSelection, ConsistentSelectionsAreKeptAndTheirStepsDerived) {
  struct Case { void (*edit)(SelectionState&); int32_t steps; };
  const Case cases[] = {
      {[](SelectionState& e) { e.diatonicSel = 215, e.scpIndex = 5, e.scaleSteps = 0; }, 8},
      {[](SelectionState& e) { e.diatonicSel = 226, e.scpIndex = 16, e.scaleSteps = 3; }, 15},
      {[](SelectionState& e) {
         e.diatonicSel = 0, e.pentatonicSel = 257, e.pentType = 1, e.scpIndex = 11;
       }, 11},
      {[](SelectionState& e) { e.diatonicSel = 0, e.wholeToneSel = 271, e.scpIndex = 1; }, 13},
      {[](SelectionState& e) { e.diatonicSel = 0, e.chordSel = 310, e.scpIndex = 10; }, 12},
      {[](SelectionState& e) { e.diatonicSel = 0, e.circleSel = 411, e.scpIndex = 11; }, 3},
      {[](SelectionState& e) { e.diatonicSel = 0, e.circleSel = 435, e.scpIndex = 35; }, 4},
      {[](SelectionState& e) { e.diatonicSel = 0, e.chromaticSel = 1, e.scpIndex = 20; }, 13},
      {[](SelectionState& e) { e.diatonicSel = 0, e.scaleSteps = 4; }, 15},
  };
  for (const Case& c : cases) {
    SelectionState edited;
    c.edit(edited);
    SelectionState s = validated(c.edit);
    EXPECT_EQ(s.scaleSteps, c.steps);
    EXPECT_EQ(s.scpIndex, edited.scpIndex);
    EXPECT_EQ(s.diatonicSel + s.pentatonicSel + s.wholeToneSel + s.chordSel + s.circleSel +
                  s.chromaticSel,
              edited.diatonicSel + edited.pentatonicSel + edited.wholeToneSel + edited.chordSel +
                  edited.circleSel + edited.chromaticSel);
  }
}

TEST_F(LoadedSelection, ChromaticKeepsAHarmlessRow) {
  SelectionState s = validated([](SelectionState& e) {
    e.diatonicSel = 0, e.chromaticSel = 1, e.scpIndex = 4000;
  });
  EXPECT_EQ(s.chromaticSel, 1);
  EXPECT_EQ(s.scpIndex, 35);
  s = validated([](SelectionState& e) { e.diatonicSel = 0, e.chromaticSel = 1, e.scpIndex = -2; });
  EXPECT_EQ(s.scpIndex, 0);
  s = validated([](SelectionState& e) { e.diatonicSel = 0, e.scpIndex = 77; });
  EXPECT_EQ(s.scpIndex, 35);
}

}  // namespace
}  // namespace brenavo
