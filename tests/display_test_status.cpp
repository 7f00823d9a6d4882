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

namespace brenavo {
namespace {

using Texts = std::vector<std::string>;

// Parts 0, 1, 2 and 4 after a refresh, joined by "|" ("TONO DE ACORDEON: " left off), and
// whether "&Formato" is enabled after it, greyed, or left as it was (chords, progressions).
// The last rows point outside the tables, as a hand-edited settings store can: the names
// come out empty.
TEST(StatusBarRefresh, NamesEachKindOfSelectionAndSetsTheFormatMenu) {
  enum FormatMenu { Enabled, Greyed, Untouched };
  using S = SelectionState;
  struct Case {
    int S::*kind;
    int id, scpIndex, tuning, direction, format, pentType;
    std::string parts;
    FormatMenu formatMenu;
  };
  const Case cases[] = {
      {&S::diatonicSel, IDM_SCALE_1, 0, 0, 0, 1, 0,
       "G-C-F|ESCALA: G mayor|FORMATO: terceras|DIRECCION: pull", Enabled},
      {&S::diatonicSel, IDM_SCALE_1m + 1, 13, 2, 2, 2, 0,
       "F-Bb-Eb|ESCALA: G menor|FORMATO: sextas|DIRECCION: pull/push", Enabled},
      {&S::chromaticSel, 1, 7, 0, 0, 0, 0,
       "G-C-F|ESCALA: cromatica|FORMATO: notas sencillas|DIRECCION: pull/push", Greyed},
      {&S::wholeToneSel, IDM_SCALE_WT1, 1, 3, 0, 0, 0,
       "A-D-G|ESCALA: Hexatonica / WT1|FORMATO: notas sencillas|DIRECCION: pull", Greyed},
      {&S::pentatonicSel, IDM_SCALE_PENT_1, 0, 0, 0, 0, 0,
       "G-C-F|ESCALA: pentatonica / G mayor|FORMATO: notas sencillas|DIRECCION: pull", Greyed},
      // Blues on C in G-C-F is blues on A in E-A-D.
      {&S::pentatonicSel, IDM_SCALE_PENT_BLUES_1 + 1, 1, 1, 0, 0, 2,
       "E-A-D|ESCALA: pentatonica / blues / A|FORMATO: notas sencillas|DIRECCION: pull", Greyed},
      {&S::chordSel, IDM_CHORDS_MAJOR, 0, 0, 0, 0, 0,
       "G-C-F|ACORDES: Triadas mayores||DIRECCION: pull", Untouched},
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 0, 0, 0, 0,
       "G-C-F|PROGRESION: triadas de B||DIRECCION: pull/push", Untouched},
      {&S::circleSel, IDM_PROG_C_ARM_1 + 11, 23, 0, 0, 0, 0,
       "G-C-F|PROGRESION: circulo armonico de Gb||DIRECCION: pull/push", Untouched},
      {&S::circleSel, IDM_PROG_C_MEL_1, 24, 3, 0, 0, 0,
       "A-D-G|PROGRESION: circulo melodico de Db||DIRECCION: pull/push", Untouched},
      {nullptr, 0, 0, 3, 0, 0, 0,  // nothing selected: only the tuning changes
       "A-D-G|ESCALA: G|FORMATO: notas sencillas|DIRECCION: pull", Untouched},
      {&S::diatonicSel, IDM_SCALE_1, 40, 7, -1, 0, 0, "|ESCALA: ||", Enabled},
      {&S::circleSel, IDM_PROG_C_MEL_12, 36, 0, 0, 0, 0,
       "G-C-F|PROGRESION: circulo melodico de ||DIRECCION: pull/push", Untouched},
      {&S::pentatonicSel, IDM_SCALE_PENT_1, 0, 0, 0, 0, 3,
       "G-C-F|ESCALA:  |FORMATO: notas sencillas|DIRECCION: pull", Greyed},
  };
  for (const Case& c : cases) {
    for (bool wasEnabled : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.parts << ", format was enabled: " << wasEnabled);
      fakes::RecordingPlatform fake;
      Program program(fake.services());
      program.menu = makeMainMenu();
      InitStatus(program);
      MenuItem* format = nullptr;
      for (MenuItem& item : GetSubMenu(program.menu, 1)->items)
        if (item.label == "&Formato") format = &item;
      ASSERT_NE(format, nullptr);
      format->grayed = !wasEnabled;
      SelectionState& sel = program.sel;
      sel.diatonicSel = 0;  // the only kind selected at first
      if (c.kind) sel.*c.kind = c.id;
      std::tie(sel.scpIndex, sel.keySel2, sel.direcSel2, sel.formatSel2, sel.pentType) =
          std::tuple{c.scpIndex, c.tuning, c.direction, c.format, c.pentType};
      EXPECT_EQ(updateStatusBar(program), 0);
      auto& texts = fake.statusTexts;
      EXPECT_EQ(texts[0].substr(std::string("TONO DE ACORDEON: ").size()) + "|" + texts[1] + "|" +
                    texts[2] + "|" + texts[4], c.parts);
      EXPECT_EQ(texts[3], "");
      EXPECT_EQ(!format->grayed, c.formatMenu == Untouched ? wasEnabled : c.formatMenu == Enabled);
      EXPECT_EQ(fake.menuRedraws, c.formatMenu == Untouched ? 0 : 1);
    }
  }
}

// What each part can show, for the bar to choose a font that fits it: the four tunings,
// every selection's name, the three formats and none, the spare part, three directions.
TEST(StatusBarTexts, ListEveryTextEachPartCanShowOnce) {
  const auto texts = everyStatusText();
  EXPECT_EQ(texts[0], (Texts{"TONO DE ACORDEON: A-D-G", "TONO DE ACORDEON: E-A-D",
                             "TONO DE ACORDEON: F-Bb-Eb", "TONO DE ACORDEON: G-C-F"}));
  EXPECT_EQ(texts[2], (Texts{"", "FORMATO: notas sencillas", "FORMATO: sextas",
                             "FORMATO: terceras"}));
  EXPECT_EQ(texts[3], (Texts{""}));
  EXPECT_EQ(texts[4], (Texts{"DIRECCION: pull", "DIRECCION: pull/push", "DIRECCION: push"}));
  Texts names = {"ESCALA: G", "ESCALA: cromatica", "ESCALA: Ab menor", "ESCALA: Hexatonica / WT1",
                 "ESCALA: pentatonica / blues / Db", "PROGRESION: circulo melodico de Gb",
                 "PROGRESION: triadas de Ab"};
  for (const ACC_CHORDS& type : chordGroup)
    names.push_back(std::string("ACORDES: ") + type.szChordType);
  for (const std::string& name : names)
    EXPECT_TRUE(std::binary_search(texts[1].begin(), texts[1].end(), name)) << name;
  EXPECT_EQ(std::adjacent_find(texts[1].begin(), texts[1].end()), texts[1].end());
}

}  // namespace
}  // namespace brenavo
