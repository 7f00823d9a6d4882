// The status bar: its parts, first texts and the refresh for every kind of selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "display/status_bar.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "selection/menus.h"

namespace brenavo {
namespace {

using Texts = std::vector<std::string>;

// The "&Formato" item, found by its label in the main menu.
MenuItem& formatItem(Program& program) {
  for (MenuItem& top : program.menu.items)
    if (top.label == "&Escalas")
      for (MenuItem& item : top.popup->items)
        if (item.label == "&Formato") return item;
  throw std::logic_error("no &Formato item");
}

TEST(StatusBarInit, CreatesFivePartsWithTheirFirstTexts) {
  fakes::RecordingPlatform fake;
  Program program(fake.services());
  InitStatus(program);
  EXPECT_EQ(fake.statusParts, (std::vector<int>{200, 430, 600, 625, 800}));
  EXPECT_EQ(fake.log, (Texts{"status.create TONO DE ACORDEON: G-C-F", "status.text 1 ESCALA: G",
                             "status.text 2 FORMATO: notas sencillas", "status.text 3 ",
                             "status.text 4 DIRECCION: pull"}));
}

enum class FormatMenu { Enabled, Greyed, Untouched };

// Parts 0, 1, 2 and 4 joined by "|", "TONO DE ACORDEON: " left off part 0.
Texts expectedLog(const std::string& parts) {
  const std::string prefixes[] = {"status.text 0 TONO DE ACORDEON: ", "status.text 1 ",
                                  "status.text 2 ", "status.text 4 "};
  Texts lines;
  size_t from = 0;
  for (const std::string& prefix : prefixes) {
    const size_t bar = parts.find('|', from);
    lines.push_back(prefix + parts.substr(from, bar - from));
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  return lines;
}

// The parts in the order they are written; part 3 is never written. The last rows point
// outside the tables, as a hand-edited settings store can: the names come out empty.
TEST(StatusBarRefresh, NamesEachKindOfSelectionAndSetsTheFormatMenu) {
  struct Case {
    int SelectionState::*kind;
    int id, scpIndex, tuning, direction, format, pentType;
    const char* parts;
    FormatMenu formatMenu;
  };
  using S = SelectionState;
  using enum FormatMenu;
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
       "G-C-F|ESCALA: pentatonica / G mayor|FORMATO: notas sencillas|DIRECCION: pull/push", Greyed},
      // Blues on C in G-C-F is blues on A in E-A-D.
      {&S::pentatonicSel, IDM_SCALE_PENT_BLUES_1 + 1, 1, 1, 0, 0, 2,
       "E-A-D|ESCALA: pentatonica / blues / A|FORMATO: notas sencillas|DIRECCION: pull/push", Greyed},
      {&S::chordSel, IDM_CHORDS_MAJOR, 0, 0, 0, 0, 0,
       "G-C-F|ACORDES: Triadas mayores||DIRECCION: pull", Untouched},
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 0, 0, 0, 0,
       "G-C-F|PROGRESION: triadas de B||DIRECCION: pull/push", Untouched},
      {&S::circleSel, IDM_PROG_C_ARM_1 + 11, 23, 0, 0, 0, 0,
       "G-C-F|PROGRESION: circulo armonico de Gb||DIRECCION: pull/push", Untouched},
      {&S::circleSel, IDM_PROG_C_MEL_1, 24, 3, 0, 0, 0,
       "A-D-G|PROGRESION: circulo melodico de Db||DIRECCION: pull/push", Untouched},
      {nullptr, 0, 0, 3, 0, 0, 0, "A-D-G", Untouched},
      {&S::diatonicSel, IDM_SCALE_1, 40, 7, -1, 0, 0, "|ESCALA: ||", Enabled},
      {&S::circleSel, IDM_PROG_C_MEL_12, 36, 0, 0, 0, 0,
       "G-C-F|PROGRESION: circulo melodico de ||DIRECCION: pull/push", Untouched},
      {&S::pentatonicSel, IDM_SCALE_PENT_1, 0, 0, 0, 0, 3,
       "G-C-F|ESCALA:  |FORMATO: notas sencillas|DIRECCION: pull", Greyed},
  };
  for (const Case& c : cases) {
    for (bool formatWasEnabled : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.parts << ", format was " << formatWasEnabled);
      fakes::RecordingPlatform fake;
      Program program(fake.services());
      program.menu = makeMainMenu();
      InitStatus(program);
      formatItem(program).grayed = !formatWasEnabled;
      SelectionState& sel = program.sel;
      sel.diatonicSel = 0;  // the only kind selected at first
      if (c.kind) sel.*c.kind = c.id;
      sel.scpIndex = c.scpIndex;
      sel.keySel2 = c.tuning;
      sel.direcSel2 = c.direction;
      sel.formatSel2 = c.format;
      sel.pentType = c.pentType;
      fake.clearLog();

      EXPECT_EQ(updateStatusBar(program), 0);
      EXPECT_EQ(fake.logOf("status."), expectedLog(c.parts));
      EXPECT_EQ(fake.statusTexts[3], "");
      const bool formatEnabled = !formatItem(program).grayed;
      if (c.formatMenu == Untouched) {
        EXPECT_EQ(formatEnabled, formatWasEnabled);
        EXPECT_TRUE(fake.logOf("menu.").empty());
      } else {
        EXPECT_EQ(formatEnabled, c.formatMenu == Enabled);
        EXPECT_EQ(fake.log.back(), "menu.redraw");
      }
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
