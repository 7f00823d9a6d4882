// The menu bar "MainMenu" and its per-tuning submenus.
#pragma once

#include "app/program.h"
#include "selection/menu_model.h"

namespace brenavo {

// One key of the accelerator table, in the "Ctrl+X" / "F1" form, and the command it sends.
struct Accelerator {
  const char* keys;
  int commandId;
};
inline constexpr Accelerator ACCELERATORS[] = {
    {"Ctrl+X", IDM_EXIT},          {"F1", IDM_HELP},          {"F2", IDM_DIALOGBOX_OPTIONS},
    {"F5", IDPB_PLAY},             {"F6", IDPB_LOOP},         {"F7", IDPB_PAUSE},
    {"F8", IDPB_STOP},             {"F9", IDM_SPEED_PLUS_5},  {"F10", IDM_SPEED_MIN_5},
    {"F11", IDM_SPEED_PLUS_25},    {"F12", IDM_SPEED_MIN_25},
    {"Ctrl+E", IDM_EXPORT},
    {"F3", IDM_PRACTICE_WAIT},     {"F4", IDM_PRACTICE_STOP},
};

// Where the menus the program edits lie: "&Escalas", "Progre&siones" and "&Practicar" on the bar;
// "&Formato", "&Diatonica" and "&Pentatonica" inside "&Escalas".
inline constexpr int SCALES_MENU = 1;
inline constexpr int PROGRESSIONS_MENU = 3;
inline constexpr int PRACTICE_MENU = 4;
inline constexpr int FORMAT_MENU = 0;
inline constexpr int DIATONIC_MENU = 3;
inline constexpr int PENTATONIC_MENU = 4;

// The menu bar as the program loads it, with placeholder per-tuning submenus.
Menu makeMainMenu();

// IDM_UPDATE_MENUS: rebuilds the eight per-tuning submenus for keySel2 and repaints.
int updateMenus(Program& program);

// Greys (0) or enables (non-zero) every top-level menu, then redraws the bar.
inline int EnableMenuBar(Program& program, int enableMenu) {
  for (int position = 0; position < GetMenuItemCount(program.menu); ++position)
    EnableMenuItem(program.menu, position, enableMenu != 0);
  program.os.menuBar.redraw(program.menu);
  return 0;
}

// Enables or greys "&Formato" (position 0 of "&Escalas").
inline void setFormatMenuEnabled(Program& program, bool enabled) {
  if (Menu* scales = GetSubMenu(program.menu, SCALES_MENU)) {
    EnableMenuItem(*scales, FORMAT_MENU, enabled);
    program.os.menuBar.redraw(program.menu);
  }
}

}  // namespace brenavo
