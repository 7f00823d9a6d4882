#include "selection/menus.h"

#include <cstdio>
#include <initializer_list>
#include <memory>

#include "model/tables.h"

namespace brenavo {

namespace {

std::shared_ptr<Menu> menuOf(std::initializer_list<MenuItem> items) {
  auto menu = std::make_shared<Menu>();
  menu->items.assign(items.begin(), items.end());
  return menu;
}

// A per-tuning submenu as the resource holds it: replaced by updateMenus.
MenuItem placeholder(const char* label) { return MenuItem::submenu(label, menuOf({})); }

MenuItem fileMenu() {
  auto print = menuOf({MenuItem::command("Escalas", IDM_PRINT_SCALES, true),
                       MenuItem::command("Teclado", IDM_PRINT_KEYBOARD, true),
                       MenuItem::command("Pantalla", IDM_PRINT_SCREEN, true)});
  return MenuItem::submenu(
      "Ar&chivo", menuOf({MenuItem::submenu("Imprimir...", print, true),
                          MenuItem::command("Opciones...\tF2", IDM_DIALOGBOX_OPTIONS),
                          MenuItem::command("&Terminar\tCtrl+X", IDM_EXIT)}));
}

MenuItem scalesMenu() {
  auto format = menuOf({MenuItem::command("&Notas sencillas", IDM_SCALE_NOTES),
                        MenuItem::command("&Terceras", IDM_SCALE_THIRDS),
                        MenuItem::command("&Sextas", IDM_SCALE_SIXTHS)});
  auto diatonic = menuOf({placeholder("Mayor"), placeholder("Menor")});
  auto pentatonic = menuOf({placeholder("Mayor"), placeholder("Menor"), placeholder("Blues")});
  auto wholeTone = menuOf({MenuItem::command("WT0", IDM_SCALE_WT0),
                           MenuItem::command("WT1", IDM_SCALE_WT1)});
  return MenuItem::submenu(
      "&Escalas", menuOf({MenuItem::submenu("&Formato", format), MenuItem::separator(),
                          MenuItem::command("&Cromatica", IDM_SCALE_CHROMATIC),
                          MenuItem::submenu("&Diatonica", diatonic),
                          MenuItem::submenu("&Pentatonica", pentatonic, true),
                          MenuItem::submenu("De &tonos enteros", wholeTone)}));
}

// The eleven chord types, 300-310, in three groups: triads, sevenths, altered sevenths.
MenuItem chordsMenu() {
  static constexpr const char* chordTypes[] = {
      "Triadas mayores",  "Triadas menores",      "Triadas disminuidas",
      "Triadas aumentadas", "Septimas de dominante", "Septimas mayores",
      "Septimas menores", "Septimas disminuidas", "Septimas de sensible",
      "Septimas de dominante (#5)", "Septimas de dominante (b5)"};
  auto chords = menuOf({});
  for (int k = 0; k < 11; ++k) {
    if (k == 4 || k == 9) chords->items.push_back(MenuItem::separator());
    chords->items.push_back(MenuItem::command(chordTypes[k], IDM_CHORDS_MAJOR + k));
  }
  return MenuItem::submenu("Acor&des", chords);
}

MenuItem progressionsMenu() {
  return MenuItem::submenu("Progre&siones",
                           menuOf({placeholder("Triadas (I-IV-V)"),
                                   placeholder("Circulos armonicos (I-vi-ii-V7)"),
                                   placeholder("Circulos melodicos (I-vi-IV-V7)")}));
}

MenuItem helpMenu() {
  return MenuItem::submenu(
      "&Ayuda", menuOf({MenuItem::command("Como usar\tF1", IDM_HELP),
                        MenuItem::command("FAQ", IDM_FAQ),
                        MenuItem::command("Hotkeys", IDM_HOTKEYS),
                        MenuItem::command("Teoria musical", IDM_MTHEORY), MenuItem::separator(),
                        MenuItem::command("Informacion de uso", IDM_USAGE),
                        MenuItem::command("Sobre el Brenavo", IDM_ABOUT)}));
}

// The label of item k of a per-tuning submenu, by its label source.
void formatItemLabel(char* buffer, size_t size, int key2sel, int scaleORcircle, int k) {
  switch (scaleORcircle) {
    case 0:
      std::snprintf(buffer, size, "escala de %s", keyConfig[key2sel].szKeysAvailable[k]);
      break;
    case 1:
      std::snprintf(buffer, size, "escala de %s", keyConfig[key2sel].szKeysAvailable[12 + k]);
      break;
    case 2:
      std::snprintf(buffer, size, "acordes de %s", circleGroup[k].szCircleName[key2sel]);
      break;
    case 3:
      std::snprintf(buffer, size, "circulo de %s", circleGroup[k].szCircleName[key2sel]);
      break;
    default:
      // 4-6: the pentatonic families 0-2.
      std::snprintf(buffer, size, "escala de %s",
                    pentPats[scaleORcircle - 4].pentScale[k].szName[key2sel]);
      break;
  }
}

// Deletes the submenu at a position and builds its replacement there.
void rebuildAt(Menu& parent, int position, int key2sel, const char* label, int baseId,
               int separator1, int separator2, int scaleORcircle) {
  DeleteMenu(parent, position);
  buildPopupMenu(parent, position, key2sel, label, baseId, separator1, separator2,
                 scaleORcircle);
}

// Only rows 0-4 of each mode hold scales: positions 7-14 (the rest) are greyed.
void greyUnfilledScales(Menu& diatonic, int position) {
  Menu* scales = GetSubMenu(diatonic, position);
  if (!scales) return;
  for (int item = 7; item <= 14; ++item) EnableMenuItem(*scales, item, false);
}

void rebuildDiatonic(Menu& diatonic, int key2sel) {
  rebuildAt(diatonic, 0, key2sel, "Mayor", IDM_SCALE_1, 5, 3, 0);
  rebuildAt(diatonic, 1, key2sel, "Menor", IDM_SCALE_1m, 5, 3, 1);
  greyUnfilledScales(diatonic, 0);
  greyUnfilledScales(diatonic, 1);
}

void rebuildPentatonic(Menu& pentatonic, int key2sel) {
  rebuildAt(pentatonic, 0, key2sel, "Mayor", IDM_SCALE_PENT_1, 5, 3, 4);
  rebuildAt(pentatonic, 1, key2sel, "Menor", IDM_SCALE_PENT_1m, 5, 3, 5);
  rebuildAt(pentatonic, 2, key2sel, "Blues", IDM_SCALE_PENT_BLUES_1, 5, 3, 6);
}

void rebuildProgressions(Menu& progressions, int key2sel) {
  rebuildAt(progressions, 0, key2sel, "Triadas (I-IV-V)", IDM_PROG_TRIAD_1, 8, 3, 2);
  rebuildAt(progressions, 1, key2sel, "Circulos armonicos (I-vi-ii-V7)", IDM_PROG_C_ARM_1, 8,
            3, 3);
  rebuildAt(progressions, 2, key2sel, "Circulos melodicos (I-vi-IV-V7)", IDM_PROG_C_MEL_1, 8,
            3, 3);
}

}  // namespace

Menu makeMainMenu() {
  Menu bar;
  bar.items = {fileMenu(), scalesMenu(), chordsMenu(), progressionsMenu(), helpMenu()};
  return bar;
}

int buildPopupMenu(Menu& hsubmenu, int submenuPosition, int key2sel, const char* menuLabel,
                   int miBaseID, int separator1, int separator2, int scaleORcircle) {
  auto popup = std::make_shared<Menu>();
  char label[255];
  for (int k = 0; k < 12; ++k) {
    formatItemLabel(label, sizeof label, key2sel, scaleORcircle, k);
    InsertMenuItem(*popup, k, MenuItem::command(label, miBaseID + k));
  }
  InsertMenuItem(*popup, separator1, MenuItem::separator());
  InsertMenuItem(*popup, separator2, MenuItem::separator());
  if (scaleORcircle < 2 || scaleORcircle > 3) InsertMenuItem(*popup, 10, MenuItem::separator());
  InsertMenuItem(hsubmenu, submenuPosition, MenuItem::submenu(menuLabel, popup));
  return 0;
}

int updateMenus(Program& program) {
  const int key2sel = program.sel.keySel2;
  if (Menu* scales = GetSubMenu(program.menu, 1)) {
    if (Menu* diatonic = GetSubMenu(*scales, 3)) rebuildDiatonic(*diatonic, key2sel);
    if (Menu* pentatonic = GetSubMenu(*scales, 4)) rebuildPentatonic(*pentatonic, key2sel);
  }
  if (Menu* progressions = GetSubMenu(program.menu, 3)) rebuildProgressions(*progressions, key2sel);
  program.os.menuBar.redraw(program.menu);
  program.os.window.invalidate();
  return 0;
}

}  // namespace brenavo
