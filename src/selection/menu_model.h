// The menu bar as plain data. The program edits it by position, the way a native menu
// is edited; the desktop layer mirrors it after every change.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace brenavo {

struct Menu;

struct MenuItem {
  enum class Kind { Command, Separator, Popup };
  Kind kind = Kind::Command;
  std::string label;       // may hold a TAB followed by the key hint ("Opciones...\tF2")
  int id = 0;              // command id (Command items)
  bool grayed = false;
  std::shared_ptr<Menu> popup;  // Popup items

  static MenuItem command(std::string text, int commandId, bool isGrayed = false) {
    MenuItem item;
    item.label = std::move(text);
    item.id = commandId;
    item.grayed = isGrayed;
    return item;
  }
  static MenuItem separator() {
    MenuItem item;
    item.kind = Kind::Separator;
    return item;
  }
  static MenuItem submenu(std::string text, std::shared_ptr<Menu> menu, bool isGrayed = false) {
    MenuItem item;
    item.kind = Kind::Popup;
    item.label = std::move(text);
    item.popup = std::move(menu);
    item.grayed = isGrayed;
    return item;
  }
};

struct Menu {
  std::vector<MenuItem> items;
};

inline int GetMenuItemCount(const Menu& menu) { return static_cast<int>(menu.items.size()); }

// The submenu at a position, or nullptr when that position holds no submenu.
inline Menu* GetSubMenu(Menu& menu, int position) {
  if (position < 0 || position >= GetMenuItemCount(menu)) return nullptr;
  return menu.items[static_cast<size_t>(position)].popup.get();
}

// Removes the item at a position (a submenu goes with it). Out of range: nothing happens.
inline void DeleteMenu(Menu& menu, int position) {
  if (position < 0 || position >= GetMenuItemCount(menu)) return;
  menu.items.erase(menu.items.begin() + position);
}

// Inserts before the item at a position; a position past the end appends.
inline void InsertMenuItem(Menu& menu, int position, MenuItem item) {
  if (position < 0 || position > GetMenuItemCount(menu)) position = GetMenuItemCount(menu);
  menu.items.insert(menu.items.begin() + position, std::move(item));
}

inline void EnableMenuItem(Menu& menu, int position, bool enabled) {
  if (position < 0 || position >= GetMenuItemCount(menu)) return;
  menu.items[static_cast<size_t>(position)].grayed = !enabled;
}

}  // namespace brenavo
