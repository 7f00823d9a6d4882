// The status bar: its parts, first texts and the refresh for every kind of selection.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/status_bar.h"
#include "fakes/recording_platform.h"
#include "selection/menu_model.h"

namespace brenavo {
namespace {

// A menu bar with just what the refresh touches: "&Formato" at position 0 of "&Escalas".
Menu scalesMenuBar() {
  auto formats = std::make_shared<Menu>();
  formats->items = {MenuItem::command("&Notas sencillas", IDM_SCALE_NOTES),
                    MenuItem::command("&Terceras", IDM_SCALE_THIRDS),
                    MenuItem::command("&Sextas", IDM_SCALE_SIXTHS)};
  auto scales = std::make_shared<Menu>();
  scales->items = {MenuItem::submenu("&Formato", formats), MenuItem::separator(),
                   MenuItem::command("&Cromatica", IDM_SCALE_CHROMATIC)};
  Menu bar;
  bar.items = {MenuItem::submenu("Ar&chivo", std::make_shared<Menu>()),
               MenuItem::submenu("&Escalas", scales)};
  return bar;
}

class StatusBarTest : public ::testing::Test {
 protected:
  StatusBarTest() : program(fake.services()) {
    program.menu = scalesMenuBar();
    InitStatus(program);
    fake.clearLog();
  }

  bool formatEnabled() { return !GetSubMenu(program.menu, 1)->items[0].grayed; }
  void setFormatEnabled(bool enabled) { EnableMenuItem(*GetSubMenu(program.menu, 1), 0, enabled); }

  void select(int SelectionState::*kind, int id, int scpIndex, int scaleSteps) {
    SelectionState& sel = program.sel;
    sel.chromaticSel = sel.diatonicSel = sel.pentatonicSel = 0;
    sel.wholeToneSel = sel.chordSel = sel.circleSel = 0;
    sel.*kind = id;
    sel.scpIndex = scpIndex;
    sel.scaleSteps = scaleSteps;
  }
  void setTuning(int index) {
    program.sel.keySel = IDRB_GCF + index;
    program.sel.keySel2 = index;
  }

  // The refresh's status texts in the order they were set, and nothing else.
  std::vector<std::string> refresh() {
    fake.clearLog();
    EXPECT_EQ(updateStatusBar(program), 0);
    return fake.logOf("status.");
  }

  fakes::RecordingPlatform fake;
  Program program;
};

using Texts = std::vector<std::string>;

TEST(StatusBarInit, CreatesFivePartsWithTheirFirstTexts) {
  fakes::RecordingPlatform fake;
  Program program(fake.services());
  InitStatus(program);
  EXPECT_EQ(fake.statusParts, (std::vector<int>{200, 430, 600, 625, 800}));
  EXPECT_EQ(fake.log, (Texts{"status.create TONO DE ACORDEON: G-C-F",
                             "status.text 1 ESCALA: G",
                             "status.text 2 FORMATO: notas sencillas",
                             "status.text 3 ",
                             "status.text 4 DIRECCION: pull"}));
}

TEST_F(StatusBarTest, DiatonicScaleNamesKeyFormatAndDirectionAndEnablesFormat) {
  setFormatEnabled(false);
  select(&SelectionState::diatonicSel, IDM_SCALE_1, 0, 15);
  program.sel.formatSel = IDM_SCALE_THIRDS;
  program.sel.formatSel2 = 1;
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: G-C-F",
                              "status.text 1 ESCALA: G mayor",
                              "status.text 2 FORMATO: terceras",
                              "status.text 4 DIRECCION: pull"}));
  EXPECT_TRUE(formatEnabled());
  EXPECT_EQ(fake.log.back(), "menu.redraw");  // the menu comes last
}

TEST_F(StatusBarTest, DiatonicTextsFollowTuningDirectionAndMinorKeys) {
  select(&SelectionState::diatonicSel, IDM_SCALE_1m + 1, 13, 8);
  setTuning(2);
  program.sel.direcSel = IDRB_MIXED;
  program.sel.direcSel2 = 2;
  program.sel.formatSel = IDM_SCALE_SIXTHS;
  program.sel.formatSel2 = 2;
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: F-Bb-Eb",
                              "status.text 1 ESCALA: G menor",
                              "status.text 2 FORMATO: sextas",
                              "status.text 4 DIRECCION: pull/push"}));
}

TEST_F(StatusBarTest, ChromaticScaleGreysFormat) {
  select(&SelectionState::chromaticSel, 1, 7, 13);
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: G-C-F",
                              "status.text 1 ESCALA: cromatica",
                              "status.text 2 FORMATO: notas sencillas",
                              "status.text 4 DIRECCION: pull/push"}));
  EXPECT_FALSE(formatEnabled());
}

TEST_F(StatusBarTest, WholeToneScaleKeepsItsNameInEveryTuning) {
  select(&SelectionState::wholeToneSel, IDM_SCALE_WT1, 1, 13);
  for (int tuning = 0; tuning < 4; ++tuning) {
    setFormatEnabled(true);
    setTuning(tuning);
    const Texts texts = refresh();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], "status.text 1 ESCALA: Hexatonica / WT1");
    EXPECT_EQ(texts[2], "status.text 2 FORMATO: notas sencillas");
    EXPECT_EQ(texts[3], "status.text 4 DIRECCION: pull");
    EXPECT_FALSE(formatEnabled());
  }
}

TEST_F(StatusBarTest, PentatonicScaleJoinsFamilyAndKeyWithOneBlank) {
  select(&SelectionState::pentatonicSel, IDM_SCALE_PENT_1, 0, 11);
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: G-C-F",
                              "status.text 1 ESCALA: pentatonica / G mayor",
                              "status.text 2 FORMATO: notas sencillas",
                              "status.text 4 DIRECCION: pull"}));
  EXPECT_FALSE(formatEnabled());

  // Blues on C in G-C-F is blues on A in E-A-D.
  select(&SelectionState::pentatonicSel, IDM_SCALE_PENT_BLUES_1 + 1, 1, 11);
  program.sel.pentType = 2;
  setTuning(1);
  EXPECT_EQ(refresh()[1], "status.text 1 ESCALA: pentatonica / blues / A");
}

TEST_F(StatusBarTest, ChordTypeEmptiesFormatPartAndLeavesTheMenuAlone) {
  select(&SelectionState::chordSel, IDM_CHORDS_MAJOR, 0, 12);
  for (bool enabled : {true, false}) {
    setFormatEnabled(enabled);
    EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: G-C-F",
                                "status.text 1 ACORDES: Triadas mayores",
                                "status.text 2 ",
                                "status.text 4 DIRECCION: pull"}));
    EXPECT_EQ(formatEnabled(), enabled);
    EXPECT_TRUE(fake.logOf("menu.").empty());
  }
  select(&SelectionState::chordSel, IDM_CHORDS_7_DOM_B5, 10, 12);
  EXPECT_EQ(refresh()[1], "status.text 1 ACORDES: Septimas de dominante (b5)");
}

TEST_F(StatusBarTest, ProgressionNamesItsKindAndKeyAndLeavesTheMenuAlone) {
  setFormatEnabled(false);
  select(&SelectionState::circleSel, IDM_PROG_TRIAD_1, 0, 3);
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: G-C-F",
                              "status.text 1 PROGRESION: triadas de B",
                              "status.text 2 ",
                              "status.text 4 DIRECCION: pull/push"}));
  EXPECT_FALSE(formatEnabled());

  select(&SelectionState::circleSel, IDM_PROG_C_ARM_1, 12, 4);
  EXPECT_EQ(refresh()[1], "status.text 1 PROGRESION: circulo armonico de B");
  select(&SelectionState::circleSel, IDM_PROG_C_ARM_1 + 11, 23, 4);
  EXPECT_EQ(refresh()[1], "status.text 1 PROGRESION: circulo armonico de Gb");
  select(&SelectionState::circleSel, IDM_PROG_C_MEL_1, 24, 4);
  setTuning(3);
  EXPECT_EQ(refresh()[1], "status.text 1 PROGRESION: circulo melodico de Db");
  select(&SelectionState::circleSel, IDM_PROG_TRIAD_12, 11, 3);
  setTuning(1);
  EXPECT_EQ(refresh()[1], "status.text 1 PROGRESION: triadas de Eb");
}

TEST_F(StatusBarTest, NoSelectionRewritesOnlyTheTuning) {
  select(&SelectionState::diatonicSel, 0, 0, 0);
  setTuning(3);
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: A-D-G"}));
  EXPECT_TRUE(fake.logOf("menu.").empty());
}

TEST_F(StatusBarTest, PartThreeStaysEmptyWhateverIsSelected) {
  const std::vector<std::pair<int SelectionState::*, int>> kinds = {
      {&SelectionState::chromaticSel, 1},          {&SelectionState::diatonicSel, IDM_SCALE_1},
      {&SelectionState::pentatonicSel, 234},       {&SelectionState::wholeToneSel, 270},
      {&SelectionState::chordSel, 300},            {&SelectionState::circleSel, 400}};
  for (const auto& [kind, id] : kinds) {
    select(kind, id, 0, 3);
    refresh();
    EXPECT_TRUE(fake.logOf("status.text 3").empty()) << id;
    EXPECT_EQ(fake.statusTexts[3], "");
  }
}

TEST_F(StatusBarTest, FormatFollowsTheSequenceOfSelections) {
  select(&SelectionState::diatonicSel, IDM_SCALE_1, 0, 15);
  refresh();
  EXPECT_TRUE(formatEnabled());
  select(&SelectionState::chordSel, IDM_CHORDS_MAJOR, 0, 12);
  refresh();
  EXPECT_TRUE(formatEnabled());
  EXPECT_EQ(fake.statusTexts[2], "");
  select(&SelectionState::chromaticSel, 1, 0, 13);
  refresh();
  EXPECT_FALSE(formatEnabled());
  select(&SelectionState::diatonicSel, IDM_SCALE_1 + 1, 1, 15);
  refresh();
  EXPECT_TRUE(formatEnabled());
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: C mayor");
}

// A hand-edited settings store can point outside the tables: the texts lose the
// missing name but nothing is read from outside a table.
TEST_F(StatusBarTest, IndexesOutsideTheTablesGiveEmptyNames) {
  setTuning(7);
  select(&SelectionState::diatonicSel, IDM_SCALE_1, 40, 15);
  program.sel.direcSel2 = -1;
  EXPECT_EQ(refresh(), (Texts{"status.text 0 TONO DE ACORDEON: ",
                              "status.text 1 ESCALA: ",
                              "status.text 2 ",
                              "status.text 4 "}));
  setTuning(0);
  program.sel.direcSel2 = 0;
  select(&SelectionState::circleSel, IDM_PROG_C_MEL_12, 36, 4);
  EXPECT_EQ(refresh()[1], "status.text 1 PROGRESION: circulo melodico de ");
  select(&SelectionState::chordSel, IDM_CHORDS_MAJOR, 11, 12);
  EXPECT_EQ(refresh()[1], "status.text 1 ACORDES: ");
  select(&SelectionState::pentatonicSel, IDM_SCALE_PENT_1, 0, 11);
  program.sel.pentType = 3;
  EXPECT_EQ(refresh()[1], "status.text 1 ESCALA:  ");
  select(&SelectionState::wholeToneSel, IDM_SCALE_WT0, 2, 13);
  EXPECT_EQ(refresh()[1], "status.text 1 ESCALA: ");
}

}  // namespace
}  // namespace brenavo
