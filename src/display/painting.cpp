#include "display/painting.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "model/tables.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

using platform::Surface;

constexpr platform::Colour HIGHLIGHT_YELLOW = platform::rgb(255, 255, 0);
constexpr int OUTLINE_WIDTH = 2;
constexpr const char* NOTES_FACE = "Bookman ITC Lt BT";
constexpr int NOTES_HEIGHT = 23;
constexpr int NOTES_WEIGHT = 700;

constexpr int CAPTION_BOTTOM = 525;

// Rows to list: the step count, but never more than the table holds.
int rowsToList(int scaleSteps, size_t tableRows) {
  return std::clamp(scaleSteps, 0, static_cast<int>(tableRows));
}

int rowTop(int row) { return SCALE_DISPLAY_ULC_Y + SDULC_DY * row; }
int noteCentreX(int slot) { return SCALE_DISPLAY_ULC_X + SDULC_NOTE1_X + SDULC_NOTE_DX * slot; }
// A separator sits halfway between two notes, its left edge there.
int separatorLeft(int slot) { return noteCentreX(slot) - SDULC_NOTE_DX / 2; }

void drawButtonCircles(Program& program, Surface& surface) {
  DrawingResources& res = program.res;
  res.hDefBrush = surface.selectBrush(res.hButtonBGBrush);
  res.hDefPen = surface.selectPen(res.hButtonOutlinePen);
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (!isLabelSlot(p)) drawButtonCircle(surface, buttonX(program, p), buttonY(program, p));
  }
  surface.selectBrush(res.hDefBrush);
  surface.selectPen(res.hDefPen);
}

void drawButtonLabels(Program& program, Surface& surface, const ACC_KEYBOARD* tuning) {
  DrawingResources& res = program.res;
  res.hDefFont = surface.selectFont(res.hNotesFont);
  surface.setBkMode(platform::TRANSPARENT);
  if (tuning != nullptr) {
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const char* name = tuning->szNoteName[p];
      evaluateOctave(surface, name);
      const platform::Size extent = surface.textExtent(name);
      surface.textOut(buttonX(program, p) - extent.cx / 2, buttonY(program, p) - extent.cy / 2,
                      name);
    }
  }
  surface.selectFont(res.hDefFont);
}

void drawCaption(Program& program, Surface& surface, const char* caption, int centreX) {
  std::snprintf(program.tempStr, sizeof program.tempStr, "%s", caption);
  const platform::Size extent = surface.textExtent(program.tempStr);
  surface.textOut(centreX - extent.cx / 2, CAPTION_BOTTOM - extent.cy, program.tempStr);
}

// White text on a black band under each diagram's middle column, in the surface's own font.
void drawCaptions(Program& program, Surface& surface) {
  DrawingResources& res = program.res;
  surface.setTextColor(platform::BLACK);
  res.hDefBkColor = surface.setBkColor(platform::BLACK);
  res.hDefTextColor = surface.setTextColor(platform::WHITE);
  surface.setBkMode(platform::OPAQUE);
  drawCaption(program, surface, "Notas hacia FUERA", PULL_MIDDLE_X);
  drawCaption(program, surface, "Notas hacia DENTRO", PUSH_MIDDLE_X);
  surface.setBkColor(res.hDefBkColor);
  surface.setTextColor(res.hDefTextColor);
}

// The numbered rows of the left panel, in the notes font.
class Listing {
 public:
  Listing(Program& program, Surface& surface, const ACC_KEYBOARD& tuning)
      : program_(program), surface_(surface), tuning_(tuning) {}

  // One note per row.
  void singleNotes(const int32_t* positions, int rows) {
    for (int row = 0; row < rows; ++row) {
      stepNumber(row);
      note(positions[row], noteCentreX(0), rowTop(row));
    }
  }

  // Two notes per row, "first / second".
  void notePairs(const int32_t* first, const int32_t* second, int rows) {
    for (int row = 0; row < rows; ++row) {
      stepNumber(row);
      note(first[row], noteCentreX(0), rowTop(row));
      surface_.textOut(separatorLeft(1), rowTop(row), "/");
      note(second[row], noteCentreX(1), rowTop(row));
    }
  }

  // A chord per row, its notes joined by "-".
  void chords(const CHORD* chordRow, int rows) {
    for (int row = 0; row < rows; ++row) {
      stepNumber(row);
      const auto& positions = chordRow[row].iNote;
      const int slots = chordNoteCount(chordRow[row]);
      for (int slot = 0; slot < slots; ++slot) {
        if (slot > 0) surface_.textOut(separatorLeft(slot), rowTop(row), "-");
        note(positions[slot], noteCentreX(slot), rowTop(row));
      }
    }
  }

 private:
  void stepNumber(int row) {
    std::snprintf(program_.tempStr, sizeof program_.tempStr, "%d :", row + 1);
    displayNote(surface_, program_.tempStr, SCALE_DISPLAY_ULC_X, rowTop(row), SEQINDEX);
  }

  void note(int32_t position, int x, int y) {
    const char* const* name = entryAt(tuning_.szNoteName, position);
    if (name == nullptr) return;
    displayNote(surface_, *name, x, y, NOTESEQUENCE);
    surface_.setTextColor(program_.res.hDefTextColor);
  }

  Program& program_;
  Surface& surface_;
  const ACC_KEYBOARD& tuning_;
};

void listChromatic(Listing& listing, const SelectionState& sel) {
  if (const auto* row = entryAt(scalePatternChromatic, sel.keySel2))
    listing.singleNotes(*row, rowsToList(sel.scaleSteps, std::size(*row)));
}

void listWholeTone(Listing& listing, const SelectionState& sel) {
  const WT_FORMATS* formats = entryAt(hexPats, sel.keySel2);
  const WT_SCALE* scale = formats ? entryAt(formats->hexScale, sel.scpIndex) : nullptr;
  if (scale) listing.singleNotes(scale->iNote, rowsToList(sel.scaleSteps, std::size(scale->iNote)));
}

void listPentatonic(Listing& listing, const SelectionState& sel) {
  const PENT_FORMATS* family = entryAt(pentPats, sel.pentType);
  const PENT_SCALE* scale = family ? entryAt(family->pentScale, sel.scpIndex) : nullptr;
  if (scale) listing.singleNotes(scale->iNote, rowsToList(sel.scaleSteps, std::size(scale->iNote)));
}

void listDiatonic(Listing& listing, const SelectionState& sel) {
  const DIATONIC_SCALES* direction = entryAt(notePats, sel.direcSel2);
  const SCALE_SET* format = direction ? entryAt(direction->iFormat, sel.formatSel2) : nullptr;
  const NOTE_SEQUENCE* scale = format ? entryAt(format->iScale, sel.scpIndex) : nullptr;
  if (scale == nullptr) return;
  const int rows = rowsToList(sel.scaleSteps, std::size(scale->note1));
  if (isTwoVoiceFormat(sel.formatSel))
    listing.notePairs(scale->note1, scale->note2, rows);
  else
    listing.singleNotes(scale->note1, rows);
}

void listChordType(Listing& listing, const SelectionState& sel) {
  if (const ACC_CHORDS* type = entryAt(chordGroup, sel.scpIndex))
    listing.chords(type->iChord, rowsToList(sel.scaleSteps, std::size(type->iChord)));
}

void listProgression(Listing& listing, const SelectionState& sel) {
  if (const ACC_CIRCLES* progression = entryAt(circleGroup, sel.scpIndex))
    listing.chords(progression->iChord, rowsToList(sel.scaleSteps, std::size(progression->iChord)));
}

// Lists the selected pattern; no selection leaves the panel empty.
void drawListing(Program& program, Surface& surface, const ACC_KEYBOARD* tuning) {
  const SelectionState& sel = program.sel;
  const Kind kind = selectedKind(sel);
  if (tuning == nullptr || kind == Kind::None) return;
  program.res.hDefFont = surface.selectFont(program.res.hNotesFont);
  surface.setBkMode(platform::TRANSPARENT);
  Listing listing(program, surface, *tuning);
  switch (kind) {
    case Kind::Chromatic: listChromatic(listing, sel); break;
    case Kind::WholeTone: listWholeTone(listing, sel); break;
    case Kind::Diatonic: listDiatonic(listing, sel); break;
    case Kind::Pentatonic: listPentatonic(listing, sel); break;
    case Kind::Chord: listChordType(listing, sel); break;
    case Kind::Progression: listProgression(listing, sel); break;
    case Kind::None: break;
  }
}

}  // namespace

void createDrawingResources(Program& program) {
  DrawingResources& res = program.res;
  const platform::Size screen = program.os.window.screenSize();
  res.maxX = screen.cx;
  res.maxY = screen.cy;
  res.hButtonOutlinePen = platform::Pen{OUTLINE_WIDTH, platform::BLACK};
  res.hButtonBGBrush = platform::Brush{platform::WHITE};
  res.hButtonHighlightBrush = platform::Brush{HIGHLIGHT_YELLOW};
  res.hNotesFont = platform::Font{NOTES_FACE, NOTES_HEIGHT, NOTES_WEIGHT};
}

void freeDrawingResources(Program& /*program*/) {}

void paintKeyboards(Program& program, Surface& surface) {
  drawButtonCircles(program, surface);
  drawButtonLabels(program, surface, entryAt(keyConfig, program.sel.keySel2));
  drawCaptions(program, surface);
}

void paintListing(Program& program, Surface& surface) {
  drawListing(program, surface, entryAt(keyConfig, program.sel.keySel2));
}

void paintWindow(Program& program, Surface& surface) {
  surface.copyBlank(0, 0, program.res.maxX, program.res.maxY);
  paintKeyboards(program, surface);
  paintListing(program, surface);
}

}  // namespace brenavo
