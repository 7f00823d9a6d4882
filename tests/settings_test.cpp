// Loading and saving the seventeen remembered values through the recording key store.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "settings/settings_store.h"

namespace brenavo {
namespace {

using Lines = std::vector<std::string>;
using S = SelectionState;

const Lines kValueOrder = {
    "dBox_accKey", "dBox_accKey2", "dBox_bellowsDirec", "dBox_bellowsDirec2", "dBox_midiVoice",
    "z__index",    "z_diatonic",   "z_chord",           "z_circle",           "z_chromatic",
    "z_wholeTone", "z_pentatonic", "scaleSteps",        "formatSelected",     "formatSelected2",
    "playbackSpeed", "pentScaleType"};

// The seventeen saved variables, in the order of the store.
std::vector<int32_t> savedOf(const S& s) {
  return {s.keySel,     s.keySel2,      s.direcSel,     s.direcSel2,     s.midiVoice,
          s.scpIndex,   s.diatonicSel,  s.chordSel,     s.circleSel,     s.chromaticSel,
          s.wholeToneSel, s.pentatonicSel, s.scaleSteps, s.formatSel,    s.formatSel2,
          s.vPos,       s.pentType};
}

// One store session: the open, one line per value, the close.
Lines session(const std::string& verb, const std::vector<int32_t>& values = {}) {
  Lines lines = {"store.open"};
  for (size_t i = 0; i < kValueOrder.size(); ++i) {
    lines.push_back(verb + " " + kValueOrder[i]);
    if (!values.empty()) lines.back() += ' ' + std::to_string(values[i]);
  }
  lines.push_back("store.close");
  return lines;
}

class SettingsStore : public ::testing::Test {
 protected:
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  const std::vector<int32_t> initialValues = savedOf(S{});
};

TEST_F(SettingsStore, FirstRunWritesTheVersionStringsAndTheSeventeenValues) {
  loadSettings(program);
  Lines expected = session("store.write", initialValues);
  expected.insert(expected.begin() + 1, {"store.string app_Version 2.0.1",
                                         "store.string app_LastMod Tues.11.Jan.05"});
  EXPECT_EQ(fake.log, expected);
  // Nothing was read; validation gives the initial selection its step count.
  std::vector<int32_t> expectedValues = initialValues;
  expectedValues[12] = 15;
  EXPECT_EQ(savedOf(program.sel), expectedValues);
}

TEST_F(SettingsStore, TheNextRunReadsWhatTheLastOneSaved) {
  S& saved = program.sel;
  saved.keySel = IDRB_FBE, saved.keySel2 = 2, saved.direcSel = IDRB_MIXED, saved.direcSel2 = 2;
  saved.midiVoice = IDRB_GUITAR_STEEL, saved.vPos = 14, saved.formatSel = 202, saved.formatSel2 = 1;
  saved.diatonicSel = 0, saved.pentatonicSel = 259, saved.pentType = 2, saved.scpIndex = 1;
  saved.scaleSteps = 13;
  saveSettings(program);
  EXPECT_EQ(fake.log, session("store.write", savedOf(saved)));

  Program next{fake.services()};
  fake.clearLog();
  loadSettings(next);
  EXPECT_EQ(fake.log, session("store.read"));
  EXPECT_EQ(savedOf(next.sel), savedOf(saved));
}

TEST_F(SettingsStore, APartialStoreKeepsTheInitialValuesOfWhatIsMissing) {
  fake.storeExists = true;
  fake.storedDwords = {{"dBox_accKey", IDRB_EAD}, {"dBox_accKey2", 1}, {"playbackSpeed", 40}};
  loadSettings(program);
  std::vector<int32_t> expected = initialValues;
  expected[0] = IDRB_EAD, expected[1] = 1;
  // What was read is validated: the tempo is brought into 1-20, the steps follow the selection.
  expected[15] = 20, expected[12] = 15;
  EXPECT_EQ(savedOf(program.sel), expected);
  EXPECT_EQ(fake.log, session("store.read"));
}

TEST_F(SettingsStore, AFailedOpenLeavesEverythingAlone) {
  fake.storeFails = true;
  loadSettings(program);
  std::vector<int32_t> expectedValues = initialValues;
  expectedValues[12] = 15;  // the step count of the initial selection
  EXPECT_EQ(savedOf(program.sel), expectedValues);
  program.sel.vPos = 3;
  saveSettings(program);
  EXPECT_EQ(fake.log, (Lines{"store.open", "store.open"}));
  EXPECT_TRUE(fake.storedDwords.empty());
}

using Edit = void (*)(S&);

// What a selection the commands could not make falls back to: the first major scale.
void firstScale(S& s) {
  s.chromaticSel = s.pentatonicSel = s.wholeToneSel = s.chordSel = s.circleSel = 0;
  s.diatonicSel = IDM_SCALE_1, s.scpIndex = 0, s.scaleSteps = 15;
}
template <int32_t N>
void steps(S& s) { s.scaleSteps = N; }
void unchanged(S&) {}

// Each case edits a first-run selection by hand; validation must leave the edited selection
// with `mend` applied and the step count of its selection (15 for the first scale).
TEST(LoadedSelection, HandEditedValuesAreBroughtBackIntoRange) {
  struct Case { Edit edit, mend; };
  const Case cases[] = {
      // A radio id decides its index; an id out of its set takes the first-run value.
      {[](S& e) { e.keySel = 1013, e.keySel2 = 7, e.direcSel = 1023, e.direcSel2 = -1; },
       [](S& e) { e.keySel2 = 2, e.direcSel2 = 2; }},
      {[](S& e) { e.formatSel = 203, e.formatSel2 = 0; },
       [](S& e) { e.formatSel2 = 2, steps<8>(e); }},
      {[](S& e) { e.keySel = 1015, e.keySel2 = 3, e.direcSel = 1020, e.direcSel2 = 1; },
       [](S& e) { e.keySel = 1011, e.keySel2 = 0, e.direcSel = 1021, e.direcSel2 = 0; }},
      {[](S& e) { e.formatSel = 204, e.formatSel2 = 2; },
       [](S& e) { e.formatSel = 201, e.formatSel2 = 0; }},
      // Tempo 1-20, one of the four voices, pentatonic family 0-2.
      {[](S& e) { e.vPos = -4, e.midiVoice = 22, e.pentType = 3; },
       [](S& e) { e.vPos = 1, e.midiVoice = 23, e.pentType = 0; }},
      {[](S& e) { e.vPos = 21, e.midiVoice = 73; }, [](S& e) { e.vPos = 20, e.midiVoice = 23; }},
      {[](S& e) { e.vPos = 20, e.midiVoice = 72; }, unchanged},
      {[](S& e) { e.midiVoice = 0; }, unchanged},
      {[](S& e) { e.midiVoice = 24; }, unchanged},
      // Selections the commands could not make.
      {[](S& e) { e.chordSel = 300; }, firstScale},  // two kinds at once
      {[](S& e) { e.diatonicSel = 227, e.scpIndex = 16; }, firstScale},
      {[](S& e) { e.diatonicSel = 212, e.scpIndex = 3; }, firstScale},
      // Rows whose fingering is computed (5-11, 17-23) are kept like the others.
      {[](S& e) { e.diatonicSel = 215, e.scpIndex = 5, e.scaleSteps = 0; }, steps<15>},
      {[](S& e) { e.diatonicSel = 227, e.scpIndex = 17; }, steps<15>},
      {[](S& e) { e.diatonicSel = 0, e.chromaticSel = 2; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.pentatonicSel = 250, e.scpIndex = 4; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.pentatonicSel = 270; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.wholeToneSel = 272, e.scpIndex = 2; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.chordSel = 311, e.scpIndex = 11; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.circleSel = 436, e.scpIndex = 36; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.circleSel = 420, e.scpIndex = 19; }, firstScale},
      // Selections the commands could make: kept, with the step count the command would set.
      {[](S& e) { e.diatonicSel = 214, e.scpIndex = 4, e.scaleSteps = 0; }, steps<15>},
      {[](S& e) { e.diatonicSel = 226, e.scpIndex = 16, e.scaleSteps = 3; }, steps<15>},
      {[](S& e) { e.diatonicSel = 0, e.pentatonicSel = 257, e.pentType = 1, e.scpIndex = 11; },
       steps<11>},
      {[](S& e) { e.diatonicSel = 0, e.wholeToneSel = 271, e.scpIndex = 1; }, steps<13>},
      {[](S& e) { e.diatonicSel = 0, e.chordSel = 310, e.scpIndex = 10; }, steps<12>},
      {[](S& e) { e.diatonicSel = 0, e.circleSel = 411, e.scpIndex = 11; }, steps<3>},
      {[](S& e) { e.diatonicSel = 0, e.circleSel = 435, e.scpIndex = 35; }, steps<4>},
      {[](S& e) { e.diatonicSel = 0, e.scaleSteps = 4; }, steps<15>},
      // The chromatic scale, or nothing, keeps its row for a later format command: a row
      // within the largest table is kept, one outside every table is not.
      {[](S& e) { e.diatonicSel = 0, e.chromaticSel = 1, e.scpIndex = 35; }, steps<13>},
      {[](S& e) { e.diatonicSel = 0, e.chromaticSel = 1, e.scpIndex = 36; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.chromaticSel = 1, e.scpIndex = -2; }, firstScale},
      {[](S& e) { e.diatonicSel = 0, e.scpIndex = 77; }, firstScale}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    S validated, expected;
    cases[i].edit(validated);
    validateLoadedSelection(validated);
    expected.scaleSteps = 15;
    cases[i].edit(expected);
    cases[i].mend(expected);
    EXPECT_EQ(savedOf(validated), savedOf(expected)) << "case " << i;
  }
}

}  // namespace
}  // namespace brenavo
