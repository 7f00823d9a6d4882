// The menu bar: the fixed tree, and the per-tuning submenus rebuilt for each tuning.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "selection/menus.h"

namespace brenavo {
namespace {

using Items = std::vector<std::string>;

// One line per item: "--" a separator, "label >" a submenu, "label id" a command; "~" greyed.
Items itemsOf(const Menu& menu) {
  Items items;
  for (const MenuItem& item : menu.items) {
    const std::string text = item.kind == MenuItem::Kind::Separator ? "--"
                             : item.kind == MenuItem::Kind::Popup
                                 ? item.label + " >"
                                 : item.label + " " + std::to_string(item.id);
    items.push_back(item.grayed ? "~" + text : text);
  }
  return items;
}

Menu& sub(Menu& menu, int position) {
  Menu* found = GetSubMenu(menu, position);
  if (!found) throw std::runtime_error("no submenu at " + std::to_string(position));
  return *found;
}

TEST(MainMenu, HoldsTheFixedItems) {
  Menu bar = makeMainMenu();
  EXPECT_EQ(itemsOf(bar), (Items{"Ar&chivo >", "&Escalas >", "Acor&des >", "Progre&siones >",
                                 "&Ayuda >"}));
  Menu& file = sub(bar, 0);
  EXPECT_EQ(itemsOf(file),
            (Items{"~Imprimir... >", "Opciones...\tF2 110", "&Terminar\tCtrl+X 111"}));
  EXPECT_EQ(itemsOf(sub(file, 0)), (Items{"~Escalas 101", "~Teclado 102", "~Pantalla 103"}));
  Menu& scales = sub(bar, 1);
  EXPECT_EQ(itemsOf(scales), (Items{"&Formato >", "--", "&Cromatica 204", "&Diatonica >",
                                    "~&Pentatonica >", "De &tonos enteros >"}));
  EXPECT_EQ(itemsOf(sub(scales, 0)),
            (Items{"&Notas sencillas 201", "&Terceras 202", "&Sextas 203"}));
  EXPECT_EQ(itemsOf(sub(scales, 5)), (Items{"WT0 270", "WT1 271"}));
  EXPECT_EQ(itemsOf(sub(bar, 2)),
            (Items{"Triadas mayores 300", "Triadas menores 301", "Triadas disminuidas 302",
                   "Triadas aumentadas 303", "--", "Septimas de dominante 304",
                   "Septimas mayores 305", "Septimas menores 306", "Septimas disminuidas 307",
                   "Septimas de sensible 308", "--", "Septimas de dominante (#5) 309",
                   "Septimas de dominante (b5) 310"}));
  EXPECT_EQ(itemsOf(sub(bar, 4)),
            (Items{"Como usar\tF1 501", "FAQ 502", "Hotkeys 503", "Teoria musical 506", "--",
                   "Informacion de uso 504", "Sobre el Brenavo 505"}));
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
  Menu& diatonic() { return sub(sub(program.menu, 1), 3); }
  Menu& pentatonic() { return sub(sub(program.menu, 1), 4); }
  Menu& progressions() { return sub(program.menu, 3); }
  // The ids of the eight per-tuning submenus, in order (0 for a separator).
  std::vector<int> perTuningIds() {
    std::vector<int> ids;
    for (Menu* parent : {&diatonic(), &pentatonic(), &progressions()}) {
      for (int position = 0; position < GetMenuItemCount(*parent); ++position)
        for (const MenuItem& item : sub(*parent, position).items) ids.push_back(item.id);
    }
    return ids;
  }

  fakes::RecordingPlatform fake;
  Program program{fake.services()};
};

TEST_F(MenuRebuild, GcfGroupsTheKeysAndGreysTheUnfilledScales) {
  rebuildFor(0);
  EXPECT_EQ(fake.log, (Items{"menu.redraw", "window.invalidate"}));
  EXPECT_EQ(fake.lastMenu, &program.menu);
  EXPECT_EQ(itemsOf(diatonic()), (Items{"Mayor >", "Menor >"}));
  EXPECT_EQ(itemsOf(pentatonic()), (Items{"Mayor >", "Menor >", "Blues >"}));
  EXPECT_EQ(itemsOf(progressions()),
            (Items{"Triadas (I-IV-V) >", "Circulos armonicos (I-vi-ii-V7) >",
                   "Circulos melodicos (I-vi-IV-V7) >"}));
  EXPECT_EQ(itemsOf(sub(program.menu, 1))[4], "~&Pentatonica >");
  // Only the first five keys of each mode have scales: positions 7-14 are greyed.
  EXPECT_EQ(itemsOf(sub(diatonic(), 0)),
            (Items{"escala de G mayor 210", "escala de C mayor 211", "escala de F mayor 212", "--",
                   "escala de D mayor 213", "escala de Bb mayor 214", "--",
                   "~escala de B mayor 215", "~escala de E mayor 216", "~escala de A mayor 217",
                   "~--", "~escala de Eb mayor 218", "~escala de Ab mayor 219",
                   "~escala de Db mayor 220", "~escala de Gb mayor 221"}));
  const Items minor = itemsOf(sub(diatonic(), 1));
  EXPECT_EQ((Items{minor[0], minor[5], minor[7], minor[14]}),
            (Items{"escala de E menor 222", "escala de G menor 226", "~escala de Ab menor 227",
                   "~escala de Eb menor 233"}));
  EXPECT_EQ(itemsOf(sub(pentatonic(), 0))[14], "escala de Gb mayor 245");
  EXPECT_EQ(itemsOf(sub(pentatonic(), 1))[0], "escala de G menor 246");
  EXPECT_EQ(itemsOf(sub(pentatonic(), 2))[0], "escala de G 258");
  EXPECT_EQ(itemsOf(sub(progressions(), 0)),
            (Items{"acordes de B 400", "acordes de E 401", "acordes de A 402", "--",
                   "acordes de D 403", "acordes de G 404", "acordes de C 405", "acordes de F 406",
                   "acordes de Bb 407", "--", "acordes de Eb 408", "acordes de Ab 409",
                   "acordes de Db 410", "acordes de Gb 411"}));
  EXPECT_EQ(itemsOf(sub(progressions(), 1))[0], "circulo de B 412");
  EXPECT_EQ(itemsOf(sub(progressions(), 2))[13], "circulo de Gb 435");
}

TEST_F(MenuRebuild, ANewTuningRenamesTheKeysInPlaceAndKeepsTheIds) {
  rebuildFor(0);
  const std::vector<int> ids = perTuningIds();
  rebuildFor(1);
  EXPECT_EQ(perTuningIds(), ids);
  EXPECT_EQ(itemsOf(diatonic()), (Items{"Mayor >", "Menor >"})) << "replaced, not added";
  const Items major = itemsOf(sub(diatonic(), 0));
  EXPECT_EQ((Items{major[0], major[5], major[7], major[14]}),
            (Items{"escala de E mayor 210", "escala de G mayor 214", "~escala de Ab mayor 215",
                   "~escala de Eb mayor 221"}));
  EXPECT_EQ(itemsOf(sub(diatonic(), 1))[0], "escala de Db menor 222");
  EXPECT_EQ(itemsOf(sub(pentatonic(), 2))[0], "escala de E 258");
  EXPECT_EQ(itemsOf(sub(progressions(), 0))[0], "acordes de Ab 400");
  EXPECT_EQ(itemsOf(sub(progressions(), 2))[13], "circulo de Eb 435");
}

}  // namespace
}  // namespace brenavo
