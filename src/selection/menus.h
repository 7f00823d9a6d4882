// The menu bar "MainMenu" and its per-tuning submenus.
#pragma once

#include "app/program.h"
#include "selection/menu_model.h"

namespace brenavo {

// The menu bar as the program loads it, with placeholder per-tuning submenus.
Menu makeMainMenu();

// Builds one per-tuning submenu of twelve items and inserts it into hsubmenu.
int buildPopupMenu(Menu& hsubmenu, int submenuPosition, int key2sel, const char* menuLabel,
                   int miBaseID, int separator1, int separator2, int scaleORcircle);

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
  if (Menu* scales = GetSubMenu(program.menu, 1)) {
    EnableMenuItem(*scales, 0, enabled);
    program.os.menuBar.redraw(program.menu);
  }
}

}  // namespace brenavo
