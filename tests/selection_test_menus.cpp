#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "selection/menus.h"

namespace brenavo {
namespace {

using Kind = MenuItem::Kind;

std::vector<std::string> labelsOf(const Menu& menu) {
  std::vector<std::string> labels;
  for (const MenuItem& item : menu.items)
    labels.push_back(item.kind == Kind::Separator ? "--" : item.label);
  return labels;
}

std::vector<int> idsOf(const Menu& menu) {
  std::vector<int> ids;
  for (const MenuItem& item : menu.items) ids.push_back(item.kind == Kind::Command ? item.id : 0);
  return ids;
}

std::vector<bool> greyedOf(const Menu& menu) {
  std::vector<bool> greyed;
  for (const MenuItem& item : menu.items) greyed.push_back(item.grayed);
  return greyed;
}

Menu& sub(Menu& menu, int position) {
  Menu* found = GetSubMenu(menu, position);
  if (!found) throw std::runtime_error("no submenu at " + std::to_string(position));
  return *found;
}

TEST(MainMenu, HoldsTheFixedItems) {
  Menu bar = makeMainMenu();
  EXPECT_EQ(labelsOf(bar), (std::vector<std::string>{"Ar&chivo", "&Escalas", "Acor&des",
                                                     "Progre&siones", "&Ayuda"}));
  for (const MenuItem& top : bar.items) {
    EXPECT_EQ(top.kind, Kind::Popup);
    EXPECT_FALSE(top.grayed);
  }

  Menu& file = sub(bar, 0);
  EXPECT_EQ(labelsOf(file), (std::vector<std::string>{"Imprimir...", "Opciones...\tF2",
                                                      "&Terminar\tCtrl+X"}));
  EXPECT_EQ(idsOf(file), (std::vector<int>{0, 110, 111}));
  EXPECT_TRUE(file.items[0].grayed);
  EXPECT_EQ(labelsOf(sub(file, 0)), (std::vector<std::string>{"Escalas", "Teclado", "Pantalla"}));
  EXPECT_EQ(idsOf(sub(file, 0)), (std::vector<int>{101, 102, 103}));
  EXPECT_EQ(greyedOf(sub(file, 0)), (std::vector<bool>{true, true, true}));

  Menu& scales = sub(bar, 1);
  EXPECT_EQ(labelsOf(scales),
            (std::vector<std::string>{"&Formato", "--", "&Cromatica", "&Diatonica",
                                      "&Pentatonica", "De &tonos enteros"}));
  EXPECT_EQ(greyedOf(scales), (std::vector<bool>{false, false, false, false, true, false}));
  EXPECT_EQ(idsOf(scales)[2], 204);
  EXPECT_EQ(labelsOf(sub(scales, 0)),
            (std::vector<std::string>{"&Notas sencillas", "&Terceras", "&Sextas"}));
  EXPECT_EQ(idsOf(sub(scales, 0)), (std::vector<int>{201, 202, 203}));
  EXPECT_EQ(labelsOf(sub(scales, 3)), (std::vector<std::string>{"Mayor", "Menor"}));
  EXPECT_EQ(labelsOf(sub(scales, 4)), (std::vector<std::string>{"Mayor", "Menor", "Blues"}));
  EXPECT_EQ(labelsOf(sub(scales, 5)), (std::vector<std::string>{"WT0", "WT1"}));
  EXPECT_EQ(idsOf(sub(scales, 5)), (std::vector<int>{270, 271}));

  Menu& chords = sub(bar, 2);
  EXPECT_EQ(idsOf(chords),
            (std::vector<int>{300, 301, 302, 303, 0, 304, 305, 306, 307, 308, 0, 309, 310}));
  EXPECT_EQ(chords.items[4].kind, Kind::Separator);
  EXPECT_EQ(chords.items[10].kind, Kind::Separator);
  EXPECT_EQ(chords.items[0].label, "Triadas mayores");
  EXPECT_EQ(chords.items[9].label, "Septimas de sensible");
  EXPECT_EQ(chords.items[12].label, "Septimas de dominante (b5)");

  EXPECT_EQ(labelsOf(sub(bar, 3)),
            (std::vector<std::string>{"Triadas (I-IV-V)", "Circulos armonicos (I-vi-ii-V7)",
                                      "Circulos melodicos (I-vi-IV-V7)"}));

  Menu& help = sub(bar, 4);
  EXPECT_EQ(labelsOf(help),
            (std::vector<std::string>{"Como usar\tF1", "FAQ", "Hotkeys", "Teoria musical", "--",
                                      "Informacion de uso", "Sobre el Brenavo"}));
  EXPECT_EQ(idsOf(help), (std::vector<int>{501, 502, 503, 506, 0, 504, 505}));
}

TEST(BuildPopupMenu, ScaleSubmenusHaveFourGroups) {
  Menu parent;
  parent.items.push_back(MenuItem::command("after", 1));
  buildPopupMenu(parent, 0, 0, "Mayor", 210, 5, 3, 0);
  ASSERT_EQ(GetMenuItemCount(parent), 2);
  EXPECT_EQ(parent.items[0].label, "Mayor");
  EXPECT_EQ(parent.items[1].label, "after");
  EXPECT_EQ(labelsOf(sub(parent, 0)),
            (std::vector<std::string>{
                "escala de G mayor", "escala de C mayor", "escala de F mayor", "--",
                "escala de D mayor", "escala de Bb mayor", "--", "escala de B mayor",
                "escala de E mayor", "escala de A mayor", "--", "escala de Eb mayor",
                "escala de Ab mayor", "escala de Db mayor", "escala de Gb mayor"}));
  EXPECT_EQ(idsOf(sub(parent, 0)), (std::vector<int>{210, 211, 212, 0, 213, 214, 0, 215, 216,
                                                     217, 0, 218, 219, 220, 221}));
}

TEST(BuildPopupMenu, ProgressionSubmenusHaveThreeGroups) {
  Menu parent;
  buildPopupMenu(parent, 0, 0, "Triadas (I-IV-V)", 400, 8, 3, 2);
  EXPECT_EQ(labelsOf(sub(parent, 0)),
            (std::vector<std::string>{"acordes de B", "acordes de E", "acordes de A", "--",
                                      "acordes de D", "acordes de G", "acordes de C",
                                      "acordes de F", "acordes de Bb", "--", "acordes de Eb",
                                      "acordes de Ab", "acordes de Db", "acordes de Gb"}));
  EXPECT_EQ(idsOf(sub(parent, 0)),
            (std::vector<int>{400, 401, 402, 0, 403, 404, 405, 406, 407, 0, 408, 409, 410, 411}));
}

TEST(BuildPopupMenu, PentatonicLabelsComeFromTheirFamily) {
  Menu parent;
  buildPopupMenu(parent, 0, 0, "Menor", 246, 5, 3, 5);
  buildPopupMenu(parent, 1, 3, "Blues", 258, 5, 3, 6);
  EXPECT_EQ(sub(parent, 0).items[0].label, "escala de G menor");
  EXPECT_EQ(sub(parent, 0).items[14].label, "escala de Gb menor");
  EXPECT_EQ(sub(parent, 1).items[0].label, "escala de A");  // G moved up a tone in A-D-G
  EXPECT_EQ(GetMenuItemCount(sub(parent, 1)), 15);
}

class MenuRebuild : public ::testing::Test {
 protected:
  MenuRebuild() { program.menu = makeMainMenu(); }

  void rebuildFor(int tuning) {
    program.sel.keySel = IDRB_GCF + tuning;
    program.sel.keySel2 = tuning;
    fake.clearLog();
    EXPECT_EQ(updateMenus(program), 0);
  }
  Menu& diatonic(int mode) { return sub(sub(sub(program.menu, 1), 3), mode); }
  Menu& progressions(int kind) { return sub(sub(program.menu, 3), kind); }

  fakes::RecordingPlatform fake;
  Program program{fake.services()};
};

TEST_F(MenuRebuild, GreysTheUnfilledDiatonicScalesAndRedraws) {
  rebuildFor(0);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"menu.redraw", "window.invalidate"}));
  EXPECT_EQ(fake.lastMenu, &program.menu);
  const std::vector<bool> firstFiveEnabled = {false, false, false, false, false, false, false,
                                              true,  true,  true,  true,  true,  true,  true,
                                              true};
  EXPECT_EQ(greyedOf(diatonic(0)), firstFiveEnabled);
  EXPECT_EQ(greyedOf(diatonic(1)), firstFiveEnabled);
  EXPECT_EQ(labelsOf(diatonic(1))[0], "escala de E menor");
  EXPECT_EQ(labelsOf(diatonic(1))[5], "escala de G menor");
  EXPECT_EQ(labelsOf(diatonic(1))[7], "escala de Ab menor");
  EXPECT_EQ(labelsOf(diatonic(1))[14], "escala de Eb menor");
  EXPECT_EQ(idsOf(diatonic(1))[14], 233);
  EXPECT_TRUE(sub(program.menu, 1).items[4].grayed) << "Pentatonica stays greyed";
  EXPECT_EQ(labelsOf(sub(sub(program.menu, 1), 4)),
            (std::vector<std::string>{"Mayor", "Menor", "Blues"}));
  EXPECT_EQ(sub(sub(sub(program.menu, 1), 4), 2).items[0].label, "escala de G");
  EXPECT_EQ(labelsOf(progressions(1))[0], "circulo de B");
  EXPECT_EQ(idsOf(progressions(1))[0], 412);
  EXPECT_EQ(idsOf(progressions(2)),
            (std::vector<int>{424, 425, 426, 0, 427, 428, 429, 430, 431, 0, 432, 433, 434, 435}));
  EXPECT_EQ(labelsOf(progressions(2))[13], "circulo de Gb");
}

TEST_F(MenuRebuild, ANewTuningRenamesTheKeysButKeepsTheIds) {
  rebuildFor(0);
  const std::vector<int> majorIds = idsOf(diatonic(0));
  const std::vector<int> triadIds = idsOf(progressions(0));
  rebuildFor(1);
  EXPECT_EQ(idsOf(diatonic(0)), majorIds);
  EXPECT_EQ(idsOf(progressions(0)), triadIds);
  EXPECT_EQ(labelsOf(diatonic(0)),
            (std::vector<std::string>{
                "escala de E mayor", "escala de A mayor", "escala de D mayor", "--",
                "escala de B mayor", "escala de G mayor", "--", "escala de Ab mayor",
                "escala de Db mayor", "escala de Gb mayor", "--", "escala de C mayor",
                "escala de F mayor", "escala de Bb mayor", "escala de Eb mayor"}));
  for (int kind = 0; kind < 3; ++kind) {
    const std::vector<std::string> labels = labelsOf(progressions(kind));
    const std::string pattern = kind == 0 ? "acordes de " : "circulo de ";
    EXPECT_EQ((std::vector<std::string>{labels[0], labels[1], labels[2]}),
              (std::vector<std::string>{pattern + "Ab", pattern + "Db", pattern + "Gb"}));
  }
  EXPECT_EQ(GetMenuItemCount(sub(sub(program.menu, 1), 3)), 2) << "replaced, not added";
  EXPECT_EQ(GetMenuItemCount(sub(sub(program.menu, 1), 4)), 3);
  EXPECT_EQ(GetMenuItemCount(sub(program.menu, 3)), 3);
}

}  // namespace
}  // namespace brenavo
