#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes/recording_platform.h"
#include "settings/settings_store.h"

using namespace brenavo;

using Lines = std::vector<std::string>;
using S = SelectionState;

static std::vector<int32_t> savedOf(const S& s) {
  return {s.keySel, s.keySel2, s.direcSel, s.direcSel2, s.midiVoice, s.scpIndex, s.diatonicSel,
          s.chordSel, s.circleSel, s.chromaticSel, s.wholeToneSel, s.pentatonicSel, s.scaleSteps,
          s.formatSel, s.formatSel2, s.vPos, s.pentType};
}

// A failed open keeps the first-run values and writes nothing. A first run writes the version
// strings, then the seventeen values (G-C-F, pull, accordion, first major scale, slowest tempo);
// the next run reads them, a value missing from the store keeping its first-run value.
TEST(SettingsStore, TheNextRunReadsWhatTheLastOneSaved) {
  fakes::RecordingPlatform fake;
  fake.storeFails = true;
  Program failed{fake.services()};
  loadSettings(failed), saveSettings(failed);
  S firstRun;
  firstRun.scaleSteps = 15;  // the steps of the first major scale
  EXPECT_TRUE(savedOf(failed.sel) == savedOf(firstRun) && fake.log == Lines(2, "store.open"));
  fake.storeFails = false, fake.log.clear();
  Program program{fake.services()};
  loadSettings(program);
  EXPECT_EQ(fake.log, (Lines{"store.open", "store.string app_Version 2.0.1",
      "store.string app_LastMod Tues.11.Jan.05", "store.write dBox_accKey 1011",
      "store.write dBox_accKey2 0", "store.write dBox_bellowsDirec 1021",
      "store.write dBox_bellowsDirec2 0", "store.write dBox_midiVoice 23", "store.write z__index 0",
      "store.write z_diatonic 210", "store.write z_chord 0", "store.write z_circle 0",
      "store.write z_chromatic 0", "store.write z_wholeTone 0", "store.write z_pentatonic 0",
      "store.write scaleSteps 0", "store.write formatSelected 201", "store.write formatSelected2 0",
      "store.write playbackSpeed 1", "store.write pentScaleType 0", "store.close"}));
  S& saved = program.sel;
  saved.keySel = IDRB_FBE, saved.keySel2 = 2, saved.direcSel = IDRB_MIXED, saved.direcSel2 = 2;
  saved.midiVoice = IDRB_GUITAR_STEEL, saved.vPos = 14, saved.formatSel = 202, saved.formatSel2 = 1;
  saved.diatonicSel = 0, saved.pentatonicSel = 259, saved.pentType = 2, saved.scpIndex = 1;
  saved.scaleSteps = 13;  // the blues scale: two octaves and the tonic
  saveSettings(program), fake.storedDwords.erase("playbackSpeed");
  Program next{fake.services()};
  loadSettings(next), saved.vPos = 1;
  EXPECT_EQ(savedOf(next.sel), savedOf(saved));
}

// A radio id decides its index; an id out of its set takes the first-run id. Tempo 1-20, one of
// the four voices, pentatonic family 0-2, one kind selected at a time.
TEST(LoadedSelection, ValuesOutOfRangeTakeTheirFirstRunValue) {
  using Edit = void (*)(S&);
  const std::pair<Edit, Edit> cases[] = {  // each edit, then what loading mends in it
      {[](S& e) { e.keySel = 1013, e.keySel2 = 7, e.direcSel = 1020, e.direcSel2 = 1; },
       [](S& e) { e.keySel2 = 2, e.direcSel = 1021, e.direcSel2 = 0; }},
      {[](S& e) { e.keySel = 1015, e.keySel2 = 3, e.direcSel = 1023, e.direcSel2 = -1; },
       [](S& e) { e.keySel = 1011, e.keySel2 = 0, e.direcSel2 = 2; }},
      {[](S& e) { e.formatSel = 203, e.midiVoice = 22, e.pentType = 3; },
       [](S& e) { e.formatSel2 = 2, e.scaleSteps = 8, e.midiVoice = 23, e.pentType = 0; }},
      {[](S& e) { e.formatSel = 204, e.vPos = 21, e.midiVoice = 73, e.chordSel = 300; },
       [](S& e) { e.formatSel = 201, e.vPos = 20, e.midiVoice = 23, e.chordSel = 0; }},
      {[](S& e) { e.vPos = 20, e.midiVoice = 72, e.pentType = 2; }, [](S&) {}},
      {[](S& e) { e.vPos = -4, e.midiVoice = 0; }, [](S& e) { e.vPos = 1; }},
      {[](S& e) { e.midiVoice = 24; }, [](S&) {}}};
  for (const auto& c : cases) {
    S loaded, expected;
    expected.scaleSteps = 15, c.first(loaded), c.first(expected), c.second(expected);
    validateLoadedSelection(loaded);
    EXPECT_EQ(savedOf(loaded), savedOf(expected)) << "case " << &c - cases;
  }
}

// One kind set by hand (diatonic 0: none) with a row: kept with its command's step count, or,
// when no command makes it (steps 0), reset to the first major scale.
TEST(LoadedSelection, OnlySelectionsTheCommandsCouldMakeAreKept) {
  struct Case { int32_t S::*kind; int32_t id, row, steps, family = 0; };
  const Case cases[] = {
      {&S::diatonicSel, 214, 4, 15}, {&S::diatonicSel, 226, 16, 15}, {&S::diatonicSel, 212, 3, 0},
      {&S::diatonicSel, 215, 5, 15}, {&S::diatonicSel, 221, 11, 15}, {&S::diatonicSel, 227, 17, 15},
      {&S::diatonicSel, 0, 0, 15}, {&S::diatonicSel, 0, 77, 0}, {&S::chromaticSel, 2, 0, 0},
      {&S::chromaticSel, 1, 35, 13}, {&S::chromaticSel, 1, 36, 0}, {&S::chromaticSel, 1, -2, 0},
      {&S::pentatonicSel, 257, 11, 11, 1}, {&S::pentatonicSel, 250, 4, 0},
      {&S::pentatonicSel, 270, 0, 0}, {&S::wholeToneSel, 271, 1, 13}, {&S::wholeToneSel, 272, 2, 0},
      {&S::chordSel, 310, 10, 12}, {&S::chordSel, 311, 11, 0}, {&S::circleSel, 411, 11, 3},
      {&S::circleSel, 435, 35, 4}, {&S::circleSel, 436, 36, 0}, {&S::circleSel, 420, 19, 0}};
  for (const Case& c : cases) {
    S in;
    in.diatonicSel = 0, in.*c.kind = c.id, in.scpIndex = c.row, in.pentType = c.family;
    S expected = c.steps == 0 ? S{} : in;  // S{}: the first major scale
    validateLoadedSelection(in), expected.scaleSteps = c.steps == 0 ? 15 : c.steps;
    EXPECT_EQ(savedOf(in), savedOf(expected)) << c.id << " row " << c.row;
  }
}
