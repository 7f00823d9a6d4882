// Loading and saving the seventeen remembered values through the recording key store.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "fakes/recording_platform.h"
#include "settings/settings_store.h"

namespace brenavo {
namespace {

using Lines = std::vector<std::string>;
using Values = std::vector<int32_t>;
using S = SelectionState;

// A first run in the stored format: the version strings, then the seventeen values in order
// (G-C-F, pull, the accordion, the first major scale in single notes, the slowest tempo).
const Lines kFirstRun = {"store.open", "store.string app_Version 2.0.1",
    "store.string app_LastMod Tues.11.Jan.05", "store.write dBox_accKey 1011",
    "store.write dBox_accKey2 0", "store.write dBox_bellowsDirec 1021",
    "store.write dBox_bellowsDirec2 0", "store.write dBox_midiVoice 23", "store.write z__index 0",
    "store.write z_diatonic 210", "store.write z_chord 0", "store.write z_circle 0",
    "store.write z_chromatic 0", "store.write z_wholeTone 0", "store.write z_pentatonic 0",
    "store.write scaleSteps 0", "store.write formatSelected 201", "store.write formatSelected2 0",
    "store.write playbackSpeed 1", "store.write pentScaleType 0", "store.close"};

Values savedOf(const S& s) {
  return {s.keySel, s.keySel2, s.direcSel, s.direcSel2, s.midiVoice, s.scpIndex, s.diatonicSel,
          s.chordSel, s.circleSel, s.chromaticSel, s.wholeToneSel, s.pentatonicSel, s.scaleSteps,
          s.formatSel, s.formatSel2, s.vPos, s.pentType};
}

class SettingsStore : public ::testing::Test {
 protected:
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
};

TEST_F(SettingsStore, FirstRunWritesTheVersionStringsThenTheSeventeenValues) {
  loadSettings(program);
  EXPECT_EQ(fake.log, kFirstRun);
}

// A value missing from the store keeps its first-run value.
TEST_F(SettingsStore, TheNextRunReadsWhatTheLastOneSaved) {
  S& saved = program.sel;
  saved.keySel = IDRB_FBE, saved.keySel2 = 2, saved.direcSel = IDRB_MIXED, saved.direcSel2 = 2;
  saved.midiVoice = IDRB_GUITAR_STEEL, saved.vPos = 14, saved.formatSel = 202, saved.formatSel2 = 1;
  saved.diatonicSel = 0, saved.pentatonicSel = 259, saved.pentType = 2, saved.scpIndex = 1;
  saved.scaleSteps = 11;
  saveSettings(program);
  fake.storedDwords.erase("playbackSpeed");
  Program next{fake.services()};
  loadSettings(next);
  saved.vPos = 1;
  EXPECT_EQ(savedOf(next.sel), savedOf(saved));
}

TEST_F(SettingsStore, AFailedOpenKeepsTheFirstRunValuesAndWritesNothing) {
  fake.storeFails = true;
  loadSettings(program);
  S firstRun;
  firstRun.scaleSteps = 15;  // the steps of the first major scale
  EXPECT_EQ(savedOf(program.sel), savedOf(firstRun));
  saveSettings(program);
  EXPECT_EQ(fake.log, (Lines{"store.open", "store.open"}));
  EXPECT_TRUE(fake.storedDwords.empty());
}

// Hand-edited values of a first-run selection: loading leaves the edit with `mend` applied.
TEST(LoadedSelection, ValuesOutOfRangeTakeTheirFirstRunValue) {
  using Edit = void (*)(S&);
  const std::pair<Edit, Edit> cases[] = {
      // A radio id decides its index; an id out of its set takes the first-run id. Tempo
      // 1-20, one of the four voices, pentatonic family 0-2, one kind selected at a time.
      {[](S& e) { e.keySel = 1013, e.keySel2 = 7, e.direcSel = 1020, e.direcSel2 = 1; },
       [](S& e) { e.keySel2 = 2, e.direcSel = 1021, e.direcSel2 = 0; }},
      {[](S& e) { e.keySel = 1015, e.keySel2 = 3, e.direcSel = 1023, e.direcSel2 = -1; },
       [](S& e) { e.keySel = 1011, e.keySel2 = 0, e.direcSel2 = 2; }},
      {[](S& e) { e.formatSel = 203, e.vPos = -4, e.midiVoice = 22, e.pentType = 3; },
       [](S& e) { e.formatSel2 = 2, e.scaleSteps = 8,
                  e.vPos = 1, e.midiVoice = 23, e.pentType = 0; }},
      {[](S& e) { e.formatSel = 204, e.vPos = 21, e.midiVoice = 73, e.chordSel = 300; },
       [](S& e) { e.formatSel = 201, e.vPos = 20, e.midiVoice = 23, e.chordSel = 0; }},
      {[](S& e) { e.vPos = 20, e.midiVoice = 72, e.pentType = 2; }, [](S&) {}},
      {[](S& e) { e.midiVoice = 0; }, [](S&) {}}, {[](S& e) { e.midiVoice = 24; }, [](S&) {}}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    S loaded, expected;
    expected.scaleSteps = 15;
    cases[i].first(loaded), cases[i].first(expected), cases[i].second(expected);
    validateLoadedSelection(loaded);
    EXPECT_EQ(savedOf(loaded), savedOf(expected)) << "case " << i;
  }
}

// One kind set by hand (diatonic 0: none) with a row: kept with the step count its command
// sets, or, when no command makes it (steps 0 here), reset to the first major scale.
TEST(LoadedSelection, OnlySelectionsTheCommandsCouldMakeAreKept) {
  struct Case { int32_t S::*kind; int32_t id, row, steps, family = 0; };
  const Case cases[] = {
      {&S::diatonicSel, 214, 4, 15}, {&S::diatonicSel, 226, 16, 15}, {&S::diatonicSel, 212, 3, 0},
      {&S::diatonicSel, 215, 5, 0}, {&S::diatonicSel, 221, 11, 0}, {&S::diatonicSel, 227, 17, 0},
      {&S::diatonicSel, 0, 0, 15}, {&S::diatonicSel, 0, 77, 0}, {&S::chromaticSel, 2, 0, 0},
      {&S::chromaticSel, 1, 35, 13}, {&S::chromaticSel, 1, 36, 0}, {&S::chromaticSel, 1, -2, 0},
      {&S::pentatonicSel, 257, 11, 11, 1}, {&S::pentatonicSel, 250, 4, 0},
      {&S::pentatonicSel, 270, 0, 0}, {&S::wholeToneSel, 271, 1, 13}, {&S::wholeToneSel, 272, 2, 0},
      {&S::chordSel, 310, 10, 12}, {&S::chordSel, 311, 11, 0}, {&S::circleSel, 411, 11, 3},
      {&S::circleSel, 435, 35, 4}, {&S::circleSel, 436, 36, 0}, {&S::circleSel, 420, 19, 0}};
  for (const Case& c : cases) {
    S loaded, expected;
    for (S* s : {&loaded, &expected})
      s->diatonicSel = 0, s->*c.kind = c.id, s->scpIndex = c.row, s->pentType = c.family;
    validateLoadedSelection(loaded);
    if (c.steps == 0) expected = S{};  // the first major scale
    expected.scaleSteps = c.steps == 0 ? 15 : c.steps;
    EXPECT_EQ(savedOf(loaded), savedOf(expected)) << c.id << " row " << c.row;
  }
}

}  // namespace
}  // namespace brenavo
