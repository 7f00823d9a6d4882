#include "display/sheet.h"

#include <algorithm>
#include <map>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "display/painting.h"
#include "display/status_bar.h"
#include "model/tables.h"
#include "selection/commands.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

using platform::BLACK;
using platform::Size;
using platform::Surface;
using platform::WHITE;

constexpr const char* SHEET_FACE = "Bookman ITC Lt BT";
const platform::Font HEADING_FONT{SHEET_FACE, 36, 700};
const platform::Font TEXT_FONT{SHEET_FACE, 18, 400};
const platform::Font BOLD_FONT{SHEET_FACE, 18, 700};
// Step numbers in a button: the largest of these heights at which they fit across it.
constexpr int NUMBER_HEIGHTS[] = {22, 17, 13};
constexpr int NUMBER_ROOM = BUT_SIZE - 6;
constexpr int DETAILS_TOP = 46;
constexpr int RULE_Y = 76;
constexpr int CAPTION_BOTTOM = 525;
constexpr int PICTURE_HEIGHT = 545;  // the window's picture, captions included
constexpr int LEGEND_ROW = 30;
constexpr int CONTENTS_ROW = 28;

// ---- what a selection takes

template <typename T, size_t N>
int stepsIn(const SelectionState& sel, const T (&)[N]) {
  return std::clamp(sel.scaleSteps, 0, static_cast<int>(N));
}

template <size_t N>
std::vector<std::vector<int>> oneButtonPerStep(const SelectionState& sel, const int32_t (&row)[N]) {
  std::vector<std::vector<int>> steps;
  for (int i = 0; i < stepsIn(sel, row); ++i) steps.push_back({row[i]});
  return steps;
}

template <size_t N>
std::vector<std::vector<int>> chordSteps(const SelectionState& sel, const CHORD (&chords)[N]) {
  std::vector<std::vector<int>> steps;
  for (int i = 0; i < stepsIn(sel, chords); ++i)
    steps.emplace_back(chords[i].iNote, chords[i].iNote + chordNoteCount(chords[i]));
  return steps;
}

std::vector<std::vector<int>> diatonicSteps(const SelectionState& sel) {
  const DIATONIC_SCALES* direction = entryAt(notePats, sel.direcSel2);
  const SCALE_SET* format = direction ? entryAt(direction->iFormat, sel.formatSel2) : nullptr;
  const NOTE_SEQUENCE* scale = format ? entryAt(format->iScale, sel.scpIndex) : nullptr;
  if (scale == nullptr) return {};
  std::vector<std::vector<int>> steps = oneButtonPerStep(sel, scale->note1);
  if (isTwoVoiceFormat(sel.formatSel))
    for (size_t i = 0; i < steps.size(); ++i) steps[i].push_back(scale->note2[i]);
  return steps;
}

// ---- the menu's names of the selections

const MenuItem* findCommand(const Menu& menu, int commandId) {
  for (const MenuItem& item : menu.items) {
    if (item.kind == MenuItem::Kind::Command && item.id == commandId) return &item;
    if (item.popup)
      if (const MenuItem* found = findCommand(*item.popup, commandId)) return found;
  }
  return nullptr;
}

// A command that selects a pattern (a format only changes how the diatonic scales are played).
bool selectsPattern(const SelectionState& sel, int commandId) {
  if (inRange(commandId, IDM_SCALE_NOTES, IDM_SCALE_SIXTHS)) return false;
  SelectionState trial = sel;
  return applySelectionCommand(trial, commandId);
}

void collectEntries(const Menu& menu, const SelectionState& sel, std::vector<BookEntry>& entries) {
  for (const MenuItem& item : menu.items) {
    if (item.grayed) continue;
    if (item.popup) collectEntries(*item.popup, sel, entries);
    if (item.kind == MenuItem::Kind::Command && selectsPattern(sel, item.id))
      entries.push_back({item.id, plainLabel(item.label)});
  }
}

// The program's selection replaced by another for as long as this lives.
class SelectionTrial {
 public:
  SelectionTrial(Program& program, int commandId) : program_(program), saved_(program.sel) {
    applySelectionCommand(program.sel, commandId);
  }
  ~SelectionTrial() { program_.sel = saved_; }
  SelectionTrial(const SelectionTrial&) = delete;
  SelectionTrial& operator=(const SelectionTrial&) = delete;

 private:
  Program& program_;
  SelectionState saved_;
};

std::string tuningName(const SelectionState& sel) {
  const ACC_KEYBOARD* tuning = entryAt(keyConfig, sel.keySel2);
  return tuning ? tuning->szKeyConfig : "";
}

std::string joined(const std::vector<std::string>& texts, const char* between) {
  std::string result;
  for (const std::string& text : texts) {
    if (text.empty()) continue;
    if (!result.empty()) result += between;
    result += text;
  }
  return result;
}

std::string statusLine(const SelectionState& sel) {
  const auto texts = statusTextsOf(sel);
  return joined({texts.begin(), texts.end()}, "   ");
}

// ---- drawing

void drawTitle(Surface& surface, Size page, const std::string& heading,
               const std::string& details) {
  surface.setOrigin(0, 0);
  surface.setBkMode(platform::TRANSPARENT);
  surface.setTextColor(BLACK);
  surface.selectFont(HEADING_FONT);
  surface.textOut(0, 0, heading);
  surface.selectFont(TEXT_FONT);
  surface.textOut(0, DETAILS_TOP, details);
  surface.selectPen({2, BLACK});
  surface.line(0, RULE_Y, page.cx - 1, RULE_Y);
}

void drawCentred(Surface& surface, const std::string& text, int centreX, int centreY) {
  const Size extent = surface.textExtent(text);
  surface.textOut(centreX - extent.cx / 2, centreY - extent.cy / 2, text);
}

// The numbers in the largest size at which they fit across a button, else on two lines.
void drawStepNumbers(Surface& surface, const std::vector<int>& steps, int x, int y) {
  std::vector<std::string> numbers;
  for (int step : steps) numbers.push_back(std::to_string(step));
  const std::string text = joined(numbers, " ");
  for (int height : NUMBER_HEIGHTS) {
    surface.selectFont({SHEET_FACE, height, 700});
    if (surface.textExtent(text).cx <= NUMBER_ROOM) return drawCentred(surface, text, x, y);
  }
  const auto half = numbers.begin() + static_cast<std::ptrdiff_t>((numbers.size() + 1) / 2);
  const int lineHeight = surface.textExtent(text).cy;
  drawCentred(surface, joined({numbers.begin(), half}, " "), x, y - lineHeight / 2);
  drawCentred(surface, joined({half, numbers.end()}, " "), x, y + lineHeight / 2);
}

// White on a black band, centred under a diagram.
void drawCaption(Surface& surface, const char* caption, int centreX) {
  surface.selectFont(BOLD_FONT);
  const Size extent = surface.textExtent(caption);
  surface.selectPen({1, BLACK});
  surface.selectBrush({BLACK});
  surface.rectangle(centreX - extent.cx / 2 - 6, CAPTION_BOTTOM - extent.cy - 2,
                    centreX + extent.cx / 2 + 6, CAPTION_BOTTOM + 2);
  surface.setTextColor(WHITE);
  surface.textOut(centreX - extent.cx / 2, CAPTION_BOTTOM - extent.cy, caption);
  surface.setTextColor(BLACK);
}

// A button the selection takes: outlined with black numbers when pulled, black with white
// numbers when pushed, so the two read apart on any paper.
void drawStepButton(Surface& surface, int position, const std::vector<int>& steps, int x, int y) {
  const bool pushed = position >= KB_BUTTONS;
  surface.selectBrush({pushed ? BLACK : WHITE});
  drawButtonCircle(surface, x, y);
  surface.setTextColor(pushed ? WHITE : BLACK);
  drawStepNumbers(surface, steps, x, y);
  surface.setTextColor(BLACK);
}

void drawStepDiagrams(Program& program, Surface& surface) {
  std::map<int, std::vector<int>> stepsAt;
  const std::vector<std::vector<int>> steps = stepButtons(program.sel);
  for (size_t i = 0; i < steps.size(); ++i)
    for (int position : steps[i]) {
      std::vector<int>& numbers = stepsAt[position];
      if (numbers.empty() || numbers.back() != static_cast<int>(i) + 1)
        numbers.push_back(static_cast<int>(i) + 1);
    }
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (isLabelSlot(p)) continue;
    surface.selectPen(program.res.hButtonOutlinePen);
    const auto found = stepsAt.find(p);
    if (found != stepsAt.end()) {
      drawStepButton(surface, p, found->second, buttonX(program, p), buttonY(program, p));
    } else {
      surface.selectBrush({WHITE});
      drawButtonCircle(surface, buttonX(program, p), buttonY(program, p));
    }
  }
  drawCaption(surface, "Notas hacia FUERA", PULL_MIDDLE_X);
  drawCaption(surface, "Notas hacia DENTRO", PUSH_MIDDLE_X);
}

void drawLegendButton(Surface& surface, bool pushed, int row, const char* text) {
  const int y = LEGEND_ROW * row;
  surface.selectPen({2, BLACK});
  surface.selectBrush({pushed ? BLACK : WHITE});
  surface.ellipse(0, y, 24, y + 24);
  surface.selectFont(BOLD_FONT);
  surface.setTextColor(pushed ? WHITE : BLACK);
  drawCentred(surface, "1", 12, y + 12);
  surface.setTextColor(BLACK);
  surface.selectFont(TEXT_FONT);
  surface.textOut(36, y + 2, text);
}

void drawScalesSheet(Program& program, Surface& surface, Size page) {
  const std::string heading = selectionHeading(program);
  drawTitle(surface, page, heading.empty() ? "Escalas" : heading, statusLine(program.sel));
  const int left = sheetPictureLeft(page);
  surface.setOrigin(left, SHEET_TITLE_HEIGHT);
  paintListing(program, surface);
  surface.setBkMode(platform::TRANSPARENT);
  drawStepDiagrams(program, surface);
  surface.setOrigin(left, SHEET_TITLE_HEIGHT + PICTURE_HEIGHT);
  drawLegendButton(surface, false, 0, "Abriendo el fuelle (hacia FUERA)");
  drawLegendButton(surface, true, 1, "Cerrando el fuelle (hacia DENTRO)");
  surface.textOut(0, LEGEND_ROW * 2 + 2,
                  "Cada boton lleva los numeros de los pasos de la lista que lo tocan.");
}

// The four octaves by a name of each, in its colour, and what marks it.
void drawOctaveLegend(Surface& surface, char letter) {
  const std::string capital(1, letter);
  const std::string lower(1, static_cast<char>(letter - 'A' + 'a'));
  const std::string names[] = {"-" + capital, capital, lower, lower + "+"};
  const char* meanings[] = {
      "verde: octava 3 (MIDI 48-59), mayuscula con \"-\" delante",
      "azul: octava 4 (MIDI 60-71), mayuscula",
      "rojo: octava 5 (MIDI 72-83), minuscula",
      "rojo oscuro: octava 6 (MIDI 84-95), minuscula con \"+\" detras",
  };
  surface.selectFont(BOLD_FONT);
  surface.textOut(0, 0, "Colores y grafia de las octavas");
  for (int row = 0; row < 4; ++row) {
    const int y = LEGEND_ROW * (row + 1);
    surface.selectFont({SHEET_FACE, 23, 700});
    evaluateOctave(surface, names[row].c_str());
    surface.textOut(0, y, names[row]);
    surface.setTextColor(BLACK);
    surface.selectFont(TEXT_FONT);
    surface.textOut(60, y + 3, meanings[row]);
  }
  surface.textOut(0, LEGEND_ROW * 5 + 3, "\"#\" marca el sostenido: F# es fa sostenido.");
}

void drawKeyboardSheet(Program& program, Surface& surface, Size page) {
  const std::string tuning = tuningName(program.sel);
  drawTitle(surface, page, "Teclado " + tuning, statusTextsOf(program.sel)[0]);
  surface.setOrigin(page.cx / 2 - KB_X, SHEET_TITLE_HEIGHT);
  paintKeyboards(program, surface);
  surface.setOrigin(sheetPictureLeft(page), SHEET_TITLE_HEIGHT + PICTURE_HEIGHT);
  surface.setBkMode(platform::TRANSPARENT);
  drawOctaveLegend(surface, tuning.empty() ? 'C' : tuning[0]);
}

void drawScreenSheet(Program& program, Surface& surface, Size page) {
  drawTitle(surface, page, "Pantalla", statusLine(program.sel));
  surface.setOrigin(sheetPictureLeft(page), SHEET_TITLE_HEIGHT);
  paintWindow(program, surface);
}

// ---- the booklet

int contentsRowsPerPage(Size page) {
  return std::max(1, (page.cy - SHEET_TITLE_HEIGHT) / CONTENTS_ROW);
}

struct ContentsRow {
  std::string text;
  int page = 0;
};

void drawContentsPage(Surface& surface, Size page, const std::string& title,
                      const std::vector<ContentsRow>& rows) {
  drawTitle(surface, page, title, "Contenido");
  surface.setOrigin(0, SHEET_TITLE_HEIGHT);
  surface.selectFont(TEXT_FONT);
  for (size_t i = 0; i < rows.size(); ++i) {
    const int y = CONTENTS_ROW * static_cast<int>(i);
    surface.textOut(0, y, rows[i].text);
    const std::string number = std::to_string(rows[i].page);
    surface.textOut(page.cx - surface.textExtent(number).cx, y, number);
  }
}

// The contents: the keyboard chart, then every selection with its status-bar name.
std::vector<ContentsRow> contentsRows(Program& program, const std::vector<BookEntry>& entries,
                                      int firstPage) {
  std::vector<ContentsRow> rows{{"Teclado " + tuningName(program.sel), firstPage}};
  for (const BookEntry& entry : entries) {
    const SelectionTrial trial(program, entry.commandId);
    rows.push_back({entry.heading + "   (" + statusTextsOf(program.sel)[1] + ")",
                    firstPage + static_cast<int>(rows.size())});
  }
  return rows;
}

bool drawBook(Program& program, Surface& surface, Size page, const platform::PageDone& pageDone) {
  const std::vector<BookEntry> entries = bookEntries(program);
  const int perPage = contentsRowsPerPage(page);
  const int rowCount = static_cast<int>(entries.size()) + 1;
  const int contentsPages = (rowCount + perPage - 1) / perPage;
  const int pageCount = contentsPages + rowCount;
  const std::vector<ContentsRow> rows = contentsRows(program, entries, contentsPages + 1);
  const std::string title = "Cuaderno " + tuningName(program.sel);
  int drawn = 0;
  for (int first = 0; first < rowCount; first += perPage) {
    if (drawn > 0) surface.newPage();
    const auto from = rows.begin() + first;
    drawContentsPage(surface, page, title, {from, from + std::min(perPage, rowCount - first)});
    if (!pageDone(++drawn, pageCount)) return false;
  }
  surface.newPage();
  drawKeyboardSheet(program, surface, page);
  if (!pageDone(++drawn, pageCount)) return false;
  for (const BookEntry& entry : entries) {
    const SelectionTrial trial(program, entry.commandId);
    surface.newPage();
    drawScalesSheet(program, surface, page);
    if (!pageDone(++drawn, pageCount)) return false;
  }
  return true;
}

}  // namespace

int sheetPictureLeft(Size page) { return std::max(0, (page.cx - SHEET_PICTURE_WIDTH) / 2); }

std::vector<std::vector<int>> stepButtons(const SelectionState& sel) {
  switch (selectedKind(sel)) {
    case Kind::Chromatic:
      if (const auto* row = entryAt(scalePatternChromatic, sel.keySel2))
        return oneButtonPerStep(sel, *row);
      break;
    case Kind::WholeTone: {
      const WT_FORMATS* formats = entryAt(hexPats, sel.keySel2);
      if (const WT_SCALE* scale = formats ? entryAt(formats->hexScale, sel.scpIndex) : nullptr)
        return oneButtonPerStep(sel, scale->iNote);
      break;
    }
    case Kind::Pentatonic: {
      const PENT_FORMATS* family = entryAt(pentPats, sel.pentType);
      if (const PENT_SCALE* scale = family ? entryAt(family->pentScale, sel.scpIndex) : nullptr)
        return oneButtonPerStep(sel, scale->iNote);
      break;
    }
    case Kind::Diatonic: return diatonicSteps(sel);
    case Kind::Chord:
      if (const ACC_CHORDS* type = entryAt(chordGroup, sel.scpIndex))
        return chordSteps(sel, type->iChord);
      break;
    case Kind::Progression:
      if (const ACC_CIRCLES* progression = entryAt(circleGroup, sel.scpIndex))
        return chordSteps(sel, progression->iChord);
      break;
    case Kind::None: break;
  }
  return {};
}

std::string plainLabel(const std::string& label) {
  std::string plain = label.substr(0, label.find('\t'));
  std::erase(plain, '&');
  return plain;
}

std::string selectionHeading(Program& program) {
  const MenuItem* item = findCommand(program.menu, selectionCommand(program.sel));
  return item ? plainLabel(item->label) : "";
}

void drawSheet(Program& program, Surface& surface, Size page, Sheet sheet) {
  switch (sheet) {
    case Sheet::Scales: drawScalesSheet(program, surface, page); break;
    case Sheet::Keyboard: drawKeyboardSheet(program, surface, page); break;
    case Sheet::Screen: drawScreenSheet(program, surface, page); break;
  }
}

platform::Document sheetDocument(Program& program, Sheet sheet) {
  std::string title;
  switch (sheet) {
    case Sheet::Scales: title = "Escalas - " + selectionHeading(program); break;
    case Sheet::Keyboard: title = "Teclado " + tuningName(program.sel); break;
    case Sheet::Screen: title = "Pantalla"; break;
  }
  return {title, SHEET_PICTURE_WIDTH,
          [&program, sheet](Surface& surface, Size page, const platform::PageDone& done) {
            drawSheet(program, surface, page, sheet);
            return done(1, 1);
          }};
}

std::vector<BookEntry> bookEntries(Program& program) {
  std::vector<BookEntry> entries;
  collectEntries(program.menu, program.sel, entries);
  return entries;
}

platform::Document bookDocument(Program& program) {
  return {"Cuaderno " + tuningName(program.sel), SHEET_PICTURE_WIDTH,
          [&program](Surface& surface, Size page, const platform::PageDone& done) {
            return drawBook(program, surface, page, done);
          }};
}

bool isSheetCommand(int commandId) { return inRange(commandId, IDM_PRINT_SCALES, IDM_BOOKLET); }

void handleSheetCommand(Program& program, int commandId) {
  if (program.sel.ctrlPlay || program.sel.ctrlPause) return;
  platform::Printer& printer = program.os.printer;
  switch (commandId) {
    case IDM_PRINT_SCALES: printer.preview(sheetDocument(program, Sheet::Scales)); break;
    case IDM_PRINT_KEYBOARD: printer.preview(sheetDocument(program, Sheet::Keyboard)); break;
    case IDM_PRINT_SCREEN: printer.preview(sheetDocument(program, Sheet::Screen)); break;
    case IDM_EXPORT:
      printer.exportToFile({sheetDocument(program, Sheet::Scales),
                            sheetDocument(program, Sheet::Keyboard),
                            sheetDocument(program, Sheet::Screen)});
      break;
    case IDM_BOOKLET: printer.writeBook(bookDocument(program)); break;
    default: break;
  }
}

}  // namespace brenavo
