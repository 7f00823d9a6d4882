#include "selection/menus.h"

#include <initializer_list>
#include <memory>
#include <span>
#include <string>

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
  auto print = menuOf({MenuItem::command("Escalas", IDM_PRINT_SCALES),
                       MenuItem::command("Teclado", IDM_PRINT_KEYBOARD),
                       MenuItem::command("Pantalla", IDM_PRINT_SCREEN)});
  return MenuItem::submenu(
      "Ar&chivo", menuOf({MenuItem::submenu("Imprimir...", print),
                          MenuItem::command("E&xportar...\tCtrl+E", IDM_EXPORT),
                          MenuItem::command("&Cuaderno...", IDM_BOOKLET),
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
                          MenuItem::submenu("&Pentatonica", pentatonic),
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

// Practice with the microphone; "Terminar practica" is offered only while practising.
MenuItem practiceMenu() {
  return MenuItem::submenu(
      "&Practicar", menuOf({MenuItem::command("Esperar cada paso\tF3", IDM_PRACTICE_WAIT),
                            MenuItem::command("Seguir el tempo", IDM_PRACTICE_TEMPO),
                            MenuItem::separator(),
                            MenuItem::command("Terminar practica\tF4", IDM_PRACTICE_STOP, true)}));
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

// Where the key names of a per-tuning submenu come from: a row of a table, in a tuning.
using KeyNameSource = const char* (*)(int tuning, int row);

const char* tuningKey(int tuning, int row) { return keyConfig[tuning].szKeysAvailable[row]; }

template <int family>
const char* pentatonicKey(int tuning, int row) {
  return pentPats[family].pentScale[row].szName[tuning];
}

const char* progressionRoot(int tuning, int row) { return circleGroup[row].szCircleName[tuning]; }

// The twelve keys of a per-tuning submenu fall into groups parted by separators.
constexpr int SCALE_GROUPS[] = {3, 2, 3, 4};
constexpr int PROGRESSION_GROUPS[] = {3, 5, 4};

// One per-tuning submenu: item k has the id firstId + k and names the key in row
// firstRow + k of its source.
struct PerTuningSubmenu {
  const char* label;
  int firstId;
  const char* itemPrefix;
  KeyNameSource keyName;
  int firstRow;
  std::span<const int> groups;
  bool greysRowsWithoutFingering;  // a diatonic row without a fingering is greyed
};

constexpr PerTuningSubmenu DIATONIC_SUBMENUS[] = {
    {"Mayor", IDM_SCALE_1, "escala de ", tuningKey, 0, SCALE_GROUPS, true},
    {"Menor", IDM_SCALE_1m, "escala de ", tuningKey, 12, SCALE_GROUPS, true},
};
constexpr PerTuningSubmenu PENTATONIC_SUBMENUS[] = {
    {"Mayor", IDM_SCALE_PENT_1, "escala de ", pentatonicKey<0>, 0, SCALE_GROUPS, false},
    {"Menor", IDM_SCALE_PENT_1m, "escala de ", pentatonicKey<1>, 0, SCALE_GROUPS, false},
    {"Blues", IDM_SCALE_PENT_BLUES_1, "escala de ", pentatonicKey<2>, 0, SCALE_GROUPS, false},
};
// All three progression submenus are labelled by the roots of the first twelve rows.
constexpr PerTuningSubmenu PROGRESSION_SUBMENUS[] = {
    {"Triadas (I-IV-V)", IDM_PROG_TRIAD_1, "acordes de ", progressionRoot, 0,
     PROGRESSION_GROUPS, false},
    {"Circulos armonicos (I-vi-ii-V7)", IDM_PROG_C_ARM_1, "circulo de ", progressionRoot, 0,
     PROGRESSION_GROUPS, false},
    {"Circulos melodicos (I-vi-IV-V7)", IDM_PROG_C_MEL_1, "circulo de ", progressionRoot, 0,
     PROGRESSION_GROUPS, false},
};

bool isGreyed(const PerTuningSubmenu& layout, int row) {
  return layout.greysRowsWithoutFingering && !hasDiatonicFingering(row);
}

// The submenu for a tuning; a separator between two greyed items is greyed with them.
MenuItem buildPerTuningSubmenu(const PerTuningSubmenu& layout, int tuning) {
  auto popup = std::make_shared<Menu>();
  int k = 0;
  for (const int groupSize : layout.groups) {
    if (k > 0) {
      MenuItem separator = MenuItem::separator();
      separator.grayed = popup->items.back().grayed && isGreyed(layout, layout.firstRow + k);
      popup->items.push_back(separator);
    }
    for (const int end = k + groupSize; k < end; ++k) {
      const int row = layout.firstRow + k;
      popup->items.push_back(MenuItem::command(
          std::string(layout.itemPrefix) + layout.keyName(tuning, row), layout.firstId + k,
          isGreyed(layout, row)));
    }
  }
  return MenuItem::submenu(layout.label, popup);
}

// Replaces the submenus of a parent, in their order, with those for the tuning.
void rebuild(Menu* parent, std::span<const PerTuningSubmenu> submenus, int tuning) {
  if (!parent) return;
  for (int position = 0; position < static_cast<int>(submenus.size()); ++position) {
    DeleteMenu(*parent, position);
    InsertMenuItem(*parent, position, buildPerTuningSubmenu(submenus[position], tuning));
  }
}

}  // namespace

Menu makeMainMenu() {
  Menu bar;
  bar.items = {fileMenu(), scalesMenu(), chordsMenu(), progressionsMenu(), practiceMenu(),
               helpMenu()};
  return bar;
}

int updateMenus(Program& program) {
  const int tuning = program.sel.keySel2;
  if (Menu* scales = GetSubMenu(program.menu, SCALES_MENU)) {
    rebuild(GetSubMenu(*scales, DIATONIC_MENU), DIATONIC_SUBMENUS, tuning);
    rebuild(GetSubMenu(*scales, PENTATONIC_MENU), PENTATONIC_SUBMENUS, tuning);
  }
  rebuild(GetSubMenu(program.menu, PROGRESSIONS_MENU), PROGRESSION_SUBMENUS, tuning);
  program.os.menuBar.redraw(program.menu);
  program.os.window.invalidate();
  return 0;
}

}  // namespace brenavo
