// Key hints are their commands' accelerators; chord types come in table order. Each tuning,
// rebuilt over the one before, names twelve keys a submenu (0-1 diatonic, 2-4 pentatonic, 5-7
// progressions) as it names them, ids climbing from 210 and 400, a diatonic scale greyed when its
// row has no fingering, parted 3-2-3-4 (its own keys, the other two fingered, the rest) or 3-5-4.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "selection/menus.h"

using namespace brenavo;

TEST(Menus, HintsChordTypesAndEachTuningsKeys) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  program.menu = makeMainMenu();
  int hints = 0, type = 0;
  for (const MenuItem& menu : program.menu.items)
    for (const MenuItem& item : menu.popup->items) {
      const size_t tab = item.label.find('\t');
      hints += tab != std::string::npos;
      EXPECT_TRUE(tab == std::string::npos || std::ranges::any_of(ACCELERATORS, [&](auto& key) {
                    return key.keys == item.label.substr(tab + 1) && key.commandId == item.id;
                  })) << item.label;
      if (menu.label != "Acor&des" || item.kind == MenuItem::Kind::Separator) continue;
      EXPECT_EQ(std::tuple(item.label, item.id),
                std::tuple(std::string(chordGroup[type].szChordType), IDM_CHORDS_MAJOR + type));
      ++type;
    }
  // Exportar, Opciones, Terminar, Esperar cada paso, Terminar practica, Como usar
  EXPECT_EQ((std::pair{hints, type}), (std::pair{6, 11}));
  Menu& scales = *GetSubMenu(program.menu, SCALES_MENU);
  for (int t : {0, 1, 2, 3, 0}) {
    program.sel.keySel2 = t, updateMenus(program);
    int s = 0, id = IDM_SCALE_1;
    for (Menu* parent : {GetSubMenu(scales, DIATONIC_MENU), GetSubMenu(scales, PENTATONIC_MENU),
                         GetSubMenu(program.menu, PROGRESSIONS_MENU)})
      for (int position = 0; position < GetMenuItemCount(*parent); ++position, ++s) {
        const std::string prefix = s < 5 ? "escala de " : s == 5 ? "acordes de " : "circulo de ";
        std::string shape;
        id = s == 5 ? IDM_PROG_TRIAD_1 : id;
        for (const MenuItem& item : GetSubMenu(*parent, position)->items) {
          shape += item.kind == MenuItem::Kind::Separator ? '|' : '.';
          if (item.kind == MenuItem::Kind::Separator) continue;
          const int k = static_cast<int>(std::ranges::count(shape, '.')) - 1;
          const char* key = s < 2   ? keyConfig[t].szKeysAvailable[12 * s + k]
                            : s < 5 ? pentPats[s - 2].pentScale[k].szName[t]
                                    : circleGroup[k].szCircleName[t];
          const bool unfingered =
              s < 2 && std::ranges::max(notePats[0].iFormat[0].iScale[12 * s + k].note1) == 0;
          EXPECT_EQ(std::tuple(item.id, item.label, item.grayed),
                    std::tuple(id++, prefix + key, unfingered));
        }
        EXPECT_EQ(shape, s < 5 ? "...|..|...|...." : "...|.....|....") << s << " " << t;
      }
    EXPECT_EQ(s, 8);
  }
}
