// The sheets the program puts on paper and in files: the fingering chart of the
// selection, the keyboard chart of the tuning, the window's picture, and the booklet of
// every selection of a tuning.
#pragma once

#include <string>
#include <vector>

#include "app/program.h"

namespace brenavo {

enum class Sheet { Scales, Keyboard, Screen };

// Where the window's picture lies on a sheet: below the title, its 800 columns centred.
inline constexpr int SHEET_TITLE_HEIGHT = 90;
inline constexpr int SHEET_PICTURE_WIDTH = 800;
int sheetPictureLeft(platform::Size page);

// The buttons each step of the selection takes, step by step.
std::vector<std::vector<int>> stepButtons(const SelectionState& sel);

// The text of a menu item as it reads: no mnemonic mark, no key hint.
std::string plainLabel(const std::string& label);

// The menu text of the command that made the selection, "" when it has none.
std::string selectionHeading(Program& program);

// One sheet of the program as it stands, on a page of the given size.
void drawSheet(Program& program, platform::Surface& surface, platform::Size page, Sheet sheet);
platform::Document sheetDocument(Program& program, Sheet sheet);

// A selection the booklet holds: its command and its heading.
struct BookEntry {
  int commandId = 0;
  std::string heading;
};
// Every enabled scale, chord type and progression of the menus, in menu order.
std::vector<BookEntry> bookEntries(Program& program);
// The booklet: contents, the keyboard chart, then one fingering chart a selection.
platform::Document bookDocument(Program& program);

// 101-105: the sheets to a printer, to a file, and the booklet. Nothing during a run.
bool isSheetCommand(int commandId);
void handleSheetCommand(Program& program, int commandId);

}  // namespace brenavo
