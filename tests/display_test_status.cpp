// The status bar: its texts for every kind of selection, and every text a part can show.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "display/status_bar.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "selection/menus.h"
#include "selection/selection_rules.h"

using namespace brenavo;

// Refresh after refresh: parts 0, 1, 2, 4 joined by "|" without the words before ": " (the
// next test pins those), and "&Formato" then enabled, greyed, or kept as it was.
TEST(StatusBarRefresh, NamesEachKindOfSelectionAndSetsTheFormatMenu) {
  enum FormatMenu { On, Off, Kept };
  using S = SelectionState;
  struct Case { int S::*kind; int id, row, tuning; std::string parts; FormatMenu menu;
                int format = 0, pentType = 0; };
  const Case cases[] = {
      {&S::diatonicSel, IDM_SCALE_1, 0, 0, "G-C-F|G mayor|terceras|pull", On, 1},
      {&S::chordSel, IDM_CHORDS_MAJOR, 0, 0, "G-C-F|Triadas mayores||pull", Kept},
      {&S::chromaticSel, 1, 7, 0, "G-C-F|cromatica|notas sencillas|pull/push", Off},
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 0, "G-C-F|triadas de B||pull/push", Kept},
      {&S::wholeToneSel, IDM_SCALE_WT1, 1, 3, "A-D-G|Hexatonica / WT1|notas sencillas|pull", Off},
      {&S::circleSel, IDM_PROG_C_ARM_1, 12, 0, "G-C-F|circulo armonico de B||pull/push", Kept},
      {&S::circleSel, IDM_PROG_C_MEL_1, 24, 3, "A-D-G|circulo melodico de Db||pull/push", Kept},
      {&S::pentatonicSel, IDM_SCALE_PENT_BLUES_1 + 1, 1, 1,  // on C in G-C-F, on A in E-A-D
       "E-A-D|pentatonica / blues / A|notas sencillas|pull/push", Off, 0, 2}};
  fakes::RecordingPlatform fake;
  Program program(fake.services());
  program.menu = makeMainMenu(), InitStatus(program);
  const MenuItem& format = GetSubMenu(program.menu, SCALES_MENU)->items.at(FORMAT_MENU);
  auto tail = [&t = fake.statusTexts](int i) { return t[i].substr(std::min(t[i].size(),
                                                                          t[i].find(": ") + 2)); };
  for (const Case& c : cases) {
    const auto [wasEnabled, redraws] = std::pair{!format.grayed, fake.menuRedraws};
    S& sel = program.sel;
    clearKinds(sel), sel.*c.kind = c.id;
    std::tie(sel.scpIndex, sel.keySel2, sel.formatSel2, sel.pentType) =
        std::tuple{c.row, c.tuning, c.format, c.pentType};
    updateStatusBar(program);
    EXPECT_EQ((std::tuple{tail(0) + "|" + tail(1) + "|" + tail(2) + "|" + tail(4), format.label,
                          !format.grayed, fake.menuRedraws - redraws}),
              (std::tuple{c.parts, "&Formato", c.menu == Kept ? wasEnabled : c.menu == On,
                          c.menu == Kept ? 0 : 1}));
  }
}

TEST(StatusBarTexts, ListEveryTextEachPartCanShowForTheBarToChooseAFontThatFits) {
  using Texts = std::vector<std::string>;
  const auto t = everyStatusText();
  EXPECT_EQ(t[0], (Texts{"TONO DE ACORDEON: A-D-G", "TONO DE ACORDEON: E-A-D",
                         "TONO DE ACORDEON: F-Bb-Eb", "TONO DE ACORDEON: G-C-F"}));
  EXPECT_EQ(t[2], (Texts{"", "FORMATO: notas sencillas", "FORMATO: sextas", "FORMATO: terceras"}));
  EXPECT_EQ(t[4], (Texts{"DIRECCION: pull", "DIRECCION: pull/push", "DIRECCION: push"}));
  Texts names = {"ESCALA: cromatica", "ESCALA: Ab menor", "ESCALA: pentatonica / blues / Db",
                 "ESCALA: Hexatonica / WT1", "PROGRESION: circulo melodico de Gb"};
  for (const auto& type : chordGroup) names.push_back("ACORDES: " + std::string(type.szChordType));
  for (const std::string& name : names)
    EXPECT_TRUE(std::binary_search(t[1].begin(), t[1].end(), name)) << name;
}
