// The menu bar: key hints, chord types, and the per-tuning submenus rebuilt for each tuning.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "selection/menus.h"

namespace brenavo {
namespace {

// The command items of a menu and of its submenus, depth first.
void forEachCommand(const Menu& menu, const std::function<void(const MenuItem&)>& visit) {
  for (const MenuItem& item : menu.items)
    if (item.popup) forEachCommand(*item.popup, visit);
    else if (item.kind == MenuItem::Kind::Command) visit(item);
}

TEST(MainMenu, KeyHintsAreTheAcceleratorsAndChordItemsNameTheirTypes) {
  const Menu bar = makeMainMenu();
  int hints = 0, type = 0;
  forEachCommand(bar, [&hints](const MenuItem& item) {
    const size_t tab = item.label.find('\t');
    if (tab == std::string::npos) return;
    const auto* key =
        std::ranges::find(ACCELERATORS, item.label.substr(tab + 1), &Accelerator::keys);
    ++hints;
    EXPECT_TRUE(key != std::end(ACCELERATORS) && key->commandId == item.id) << item.label;
  });
  EXPECT_EQ(hints, 3);  // Opciones, Terminar, Como usar
  forEachCommand(*bar.items[2].popup, [&type](const MenuItem& item) {
    EXPECT_EQ(item.label, chordGroup[type].szChordType);
    EXPECT_EQ(item.id, IDM_CHORDS_MAJOR + type++);
  });
  EXPECT_EQ(type, 11);
}

// The label of key k of per-tuning submenu s (0-1 diatonic major and minor, 2-4 pentatonic
// major, minor and blues, 5-7 the three progressions) in tuning t.
std::string labelOf(int s, int t, int k) {
  if (s < 2) return std::string("escala de ") + keyConfig[t].szKeysAvailable[12 * s + k];
  if (s < 5) return std::string("escala de ") + pentPats[s - 2].pentScale[k].szName[t];
  return (s == 5 ? "acordes de " : "circulo de ") + std::string(circleGroup[k].szCircleName[t]);
}

// A submenu's shape: "." a command, "|" a separator.
std::string shapeOf(const Menu& menu) {
  std::string shape;
  for (const MenuItem& item : menu.items)
    shape += item.kind == MenuItem::Kind::Separator ? '|' : '.';
  return shape;
}

// Each tuning, rebuilt over the one before: twelve keys a submenu, named as the tuning names
// them, ids climbing from 210 and 400, a diatonic scale greyed when its row has no fingering.
// Separators part the scale keys 3-2-3-4 (the tuning's own three keys, the other two fingered,
// then the rest in two groups) and the progression keys 3-5-4.
TEST(MenuRebuild, ItemsNameTheTuningsKeysClimbInIdsAndGreyUnfingeredScales) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  program.menu = makeMainMenu();
  Menu& scales = *GetSubMenu(program.menu, SCALES_MENU);
  for (int t : {0, 1, 2, 3, 0}) {
    program.sel.keySel2 = t;
    updateMenus(program);
    int s = 0, id = IDM_SCALE_1;
    for (Menu* parent : {GetSubMenu(scales, DIATONIC_MENU), GetSubMenu(scales, PENTATONIC_MENU),
                         GetSubMenu(program.menu, PROGRESSIONS_MENU)})
      for (int position = 0; position < GetMenuItemCount(*parent); ++position, ++s) {
        if (s == 5) id = IDM_PROG_TRIAD_1;
        int k = 0;
        forEachCommand(*GetSubMenu(*parent, position), [&](const MenuItem& item) {
          const bool unfingered =
              s < 2 && std::ranges::count(notePats[0].iFormat[0].iScale[12 * s + k].note1, 0) ==
                           DIATONIC_MAX_STEPS;
          EXPECT_EQ(item.id, id++);
          EXPECT_EQ(item.label, labelOf(s, t, k++));
          EXPECT_EQ(item.grayed, unfingered) << item.label;
        });
        EXPECT_EQ(shapeOf(*GetSubMenu(*parent, position)),
                  s < 5 ? "...|..|...|...." : "...|.....|....")
            << "submenu " << s << ", tuning " << t;
      }
    EXPECT_EQ(s, 8);
  }
}

}  // namespace
}  // namespace brenavo
