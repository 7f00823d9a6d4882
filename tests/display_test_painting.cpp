// What one paint draws: the blank, both diagrams, the captions and the listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/geometry.h"
#include "display/painting.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"

namespace brenavo {
namespace {

using fakes::SurfaceOp;
using Kind = SurfaceOp::Kind;
using platform::Colour;
using platform::rgb;

constexpr Colour GREEN = rgb(0, 255, 0);
constexpr Colour BLUE = rgb(0, 0, 255);
constexpr Colour RED = rgb(255, 0, 0);
constexpr Colour DARK_RED = rgb(128, 0, 0);
constexpr Colour BLACK = platform::BLACK;
constexpr Colour WHITE = platform::WHITE;
constexpr int GLYPH_WIDTH = 10;   // the recording surface's measure
constexpr int GLYPH_HEIGHT = 20;

const platform::Font NOTES_FONT{"Bookman ITC Lt BT", 23, 700};

// One row of the listing: its step number and what follows it, in drawing order.
struct ListedRow {
  SurfaceOp number;
  std::vector<SurfaceOp> entries;

  std::vector<SurfaceOp> notes() const { return without("/", "-"); }
  std::vector<SurfaceOp> separators() const {
    std::vector<SurfaceOp> out;
    for (const SurfaceOp& op : entries)
      if (op.text == "/" || op.text == "-") out.push_back(op);
    return out;
  }
  std::vector<std::string> noteNames() const {
    std::vector<std::string> names;
    for (const SurfaceOp& op : notes()) names.push_back(op.text);
    return names;
  }

 private:
  std::vector<SurfaceOp> without(const char* a, const char* b) const {
    std::vector<SurfaceOp> out;
    for (const SurfaceOp& op : entries)
      if (op.text != a && op.text != b) out.push_back(op);
    return out;
  }
};

int centreOf(const SurfaceOp& text) {
  return text.x + GLYPH_WIDTH * static_cast<int>(text.text.size()) / 2;
}
int rightEndOf(const SurfaceOp& text) {
  return text.x + GLYPH_WIDTH * static_cast<int>(text.text.size());
}
bool isStepNumber(const SurfaceOp& op) {
  return op.text.size() > 2 && op.text.compare(op.text.size() - 2, 2, " :") == 0;
}

class PaintTest : public ::testing::Test {
 protected:
  PaintTest() : program(fake.services()) {
    fake.screen = {1280, 800};
    createButtonXYs(program);
    createDrawingResources(program);
  }

  void selectNothing() { program.sel.diatonicSel = 0; }

  const std::vector<SurfaceOp>& paint() {
    paintWindow(program, surface);
    return surface.ops();
  }

  std::vector<SurfaceOp> textsOf(const std::vector<SurfaceOp>& ops) const {
    std::vector<SurfaceOp> out;
    for (const SurfaceOp& op : ops)
      if (op.kind == Kind::TextOut) out.push_back(op);
    return out;
  }

  // Everything drawn after the push caption, on a fresh surface.
  std::vector<SurfaceOp> afterCaptions() {
    surface = fakes::RecordingSurface();
    const std::vector<SurfaceOp>& ops = paint();
    auto caption = std::find_if(ops.begin(), ops.end(), [](const SurfaceOp& op) {
      return op.kind == Kind::TextOut && op.text == "Notas hacia DENTRO";
    });
    EXPECT_NE(caption, ops.end());
    return caption == ops.end() ? std::vector<SurfaceOp>{}
                                : std::vector<SurfaceOp>(caption + 1, ops.end());
  }

  std::vector<ListedRow> listing() {
    std::vector<ListedRow> rows;
    for (const SurfaceOp& op : textsOf(afterCaptions())) {
      if (isStepNumber(op)) {
        rows.push_back({op, {}});
      } else {
        EXPECT_FALSE(rows.empty()) << "a listing entry before any step number: " << op.text;
        if (!rows.empty()) rows.back().entries.push_back(op);
      }
    }
    return rows;
  }

  fakes::RecordingPlatform fake;
  Program program;
  fakes::RecordingSurface surface;
};

TEST_F(PaintTest, DrawingResourcesFollowTheScreenAndTheButtonLook) {
  const DrawingResources& res = program.res;
  EXPECT_TRUE(res.created);
  EXPECT_EQ(res.maxX, 1280);
  EXPECT_EQ(res.maxY, 800);
  EXPECT_EQ(res.hButtonOutlinePen, (platform::Pen{2, BLACK}));
  EXPECT_EQ(res.hButtonBGBrush, platform::Brush{WHITE});
  EXPECT_EQ(res.hButtonHighlightBrush, platform::Brush{rgb(255, 255, 0)});
  EXPECT_EQ(res.hNotesFont, NOTES_FONT);
  freeDrawingResources(program);
  EXPECT_FALSE(program.res.created);
}

TEST_F(PaintTest, StartsWithTheBlankOfTheScreenSize) {
  const auto& ops = paint();
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, Kind::CopyBlank);
  EXPECT_EQ(ops[0].x, 1280);
  EXPECT_EQ(ops[0].y, 800);
}

TEST_F(PaintTest, DrawsSixtyTwoCirclesFromTheGeometryBeforeAnyLabel) {
  const auto& ops = paint();
  std::vector<SurfaceOp> circles;
  bool textSeen = false;
  for (const SurfaceOp& op : ops) {
    if (op.kind == Kind::TextOut) textSeen = true;
    if (op.kind == Kind::Ellipse) {
      EXPECT_FALSE(textSeen) << "a circle after a label";
      circles.push_back(op);
    }
  }
  ASSERT_EQ(circles.size(), 62u);
  size_t i = 0;
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (isLabelSlot(p)) continue;
    const SurfaceOp& circle = circles[i++];
    EXPECT_EQ(circle.x, buttonX(program, p) - 20) << p;
    EXPECT_EQ(circle.y, buttonY(program, p) - 20) << p;
    EXPECT_EQ(circle.x2, buttonX(program, p) + 20) << p;
    EXPECT_EQ(circle.y2, buttonY(program, p) + 20) << p;
    EXPECT_EQ(circle.pen, program.res.hButtonOutlinePen);
    EXPECT_EQ(circle.brush, program.res.hButtonBGBrush);
  }
  EXPECT_EQ(circles[0].x, 410);   // position 0 at (430, 52)
  EXPECT_EQ(circles[0].y, 32);
  // The surface gets its own pen and brush back.
  EXPECT_EQ(surface.pen, platform::Pen{});
  EXPECT_EQ(surface.brush, platform::Brush{});
}

TEST_F(PaintTest, LabelsEveryButtonWithItsNameCentredInItsOctaveColour) {
  selectNothing();
  const auto texts = textsOf(paint());
  ASSERT_EQ(texts.size(), 62u + 2u);
  size_t i = 0;
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (isLabelSlot(p)) continue;
    const SurfaceOp& label = texts[i++];
    EXPECT_EQ(label.text, keyConfig[0].szNoteName[p]) << p;
    EXPECT_EQ(centreOf(label), buttonX(program, p)) << p;
    EXPECT_EQ(label.y, buttonY(program, p) - GLYPH_HEIGHT / 2) << p;
    EXPECT_EQ(label.font, NOTES_FONT);
    EXPECT_EQ(label.bkMode, platform::TRANSPARENT);
  }
  // G-C-F: 0 "D#", 1 "-A", 6 "c", 21 "d+".
  EXPECT_EQ(texts[0].text, "D#");
  EXPECT_EQ(texts[0].textColour, BLUE);
  EXPECT_EQ(texts[1].text, "-A");
  EXPECT_EQ(texts[1].textColour, GREEN);
  EXPECT_EQ(texts[6].text, "c");
  EXPECT_EQ(texts[6].textColour, RED);
  EXPECT_EQ(texts[20].text, "d+");   // position 21, after slot 10 is skipped
  EXPECT_EQ(texts[20].textColour, DARK_RED);
}

TEST_F(PaintTest, CaptionsAreWhiteOnABlackBandEndingAt525UnderEachDiagram) {
  selectNothing();
  surface.bkColour = rgb(10, 20, 30);
  const auto& ops = paint();
  const auto texts = textsOf(ops);
  ASSERT_EQ(texts.size(), 64u);
  const SurfaceOp& pull = texts[62];
  const SurfaceOp& push = texts[63];
  EXPECT_EQ(pull.text, "Notas hacia FUERA");
  EXPECT_EQ(centreOf(pull), 475);
  EXPECT_EQ(pull.y + GLYPH_HEIGHT, 525);
  EXPECT_EQ(push.text, "Notas hacia DENTRO");
  EXPECT_EQ(centreOf(push), 675);
  EXPECT_EQ(push.y + GLYPH_HEIGHT, 525);
  for (const SurfaceOp& caption : {pull, push}) {
    EXPECT_EQ(caption.textColour, WHITE);
    EXPECT_EQ(caption.bkMode, platform::OPAQUE);
    EXPECT_EQ(caption.font, platform::Font{});  // the surface's own font
  }
  // Between the last label and the first caption: the surface's font back, then a
  // black band behind white text.
  auto pullAt = std::find_if(ops.begin(), ops.end(), [&](const SurfaceOp& op) {
    return op.kind == Kind::TextOut && op.text == pull.text;
  });
  ASSERT_GE(pullAt - ops.begin(), 6);
  const std::vector<SurfaceOp> before(pullAt - 6, pullAt);
  EXPECT_EQ(before[0].kind, Kind::TextOut);  // the last label
  EXPECT_EQ(before[1].kind, Kind::SelectFont);
  EXPECT_EQ(before[1].font, platform::Font{});
  EXPECT_EQ(before[2].kind, Kind::TextColor);
  EXPECT_EQ(before[2].value, BLACK);
  EXPECT_EQ(before[3].kind, Kind::BkColor);
  EXPECT_EQ(before[3].value, BLACK);
  EXPECT_EQ(before[4].kind, Kind::TextColor);
  EXPECT_EQ(before[4].value, WHITE);
  EXPECT_EQ(before[5].kind, Kind::BkMode);
  EXPECT_EQ(before[5].value, static_cast<Colour>(platform::OPAQUE));
  // Background and text colours are put back afterwards.
  EXPECT_EQ(surface.bkColour, rgb(10, 20, 30));
  EXPECT_EQ(surface.textColour, BLACK);
  EXPECT_EQ(program.res.hDefTextColor, BLACK);
}

TEST_F(PaintTest, NothingSelectedOrAPentatonicScaleLeavesThePanelEmpty) {
  selectNothing();
  program.sel.scaleSteps = 15;
  // Only the background and text colours are put back after the captions.
  EXPECT_EQ(afterCaptions().size(), 2u);

  program.sel.pentatonicSel = IDM_SCALE_PENT_1;
  program.sel.scaleSteps = PENT_STEPS;
  EXPECT_TRUE(textsOf(afterCaptions()).empty());
}

TEST_F(PaintTest, ZeroOrNegativeStepsDrawNoRow) {
  program.sel.scaleSteps = 0;
  EXPECT_TRUE(listing().empty());
  program.sel.scaleSteps = -3;
  EXPECT_TRUE(listing().empty());
}

TEST_F(PaintTest, DiatonicScaleInThirdsListsFifteenRowsOfTwoNotes) {
  program.sel.formatSel = IDM_SCALE_THIRDS;
  program.sel.formatSel2 = 1;
  program.sel.scaleSteps = 15;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 15u);
  // G major in thirds on the pull side.
  const char* lower[15] = {"-G", "-A", "-B", "C", "D", "E", "F#", "G",
                           "A",  "B",  "c",  "d", "e", "f#", "g"};
  const char* upper[15] = {"-B", "C", "D", "E", "F#", "G", "A", "B",
                           "c",  "d", "e", "f#", "g", "a", "b"};
  for (int i = 0; i < 15; ++i) {
    const ListedRow& row = rows[static_cast<size_t>(i)];
    const int top = 50 + 30 * i;
    EXPECT_EQ(row.number.text, std::to_string(i + 1) + " :");
    EXPECT_EQ(rightEndOf(row.number), 51) << i;
    EXPECT_EQ(row.number.y, top);
    EXPECT_EQ(row.number.textColour, BLACK);
    ASSERT_EQ(row.entries.size(), 3u) << i;
    EXPECT_EQ(row.entries[0].text, lower[i]);
    EXPECT_EQ(centreOf(row.entries[0]), 80);
    EXPECT_EQ(row.entries[1].text, "/");
    EXPECT_EQ(row.entries[1].x, 105);
    EXPECT_EQ(row.entries[1].textColour, BLACK);
    EXPECT_EQ(row.entries[2].text, upper[i]);
    EXPECT_EQ(centreOf(row.entries[2]), 130);
    for (const SurfaceOp& entry : row.entries) {
      EXPECT_EQ(entry.y, top);
      EXPECT_EQ(entry.font, NOTES_FONT);
      EXPECT_EQ(entry.bkMode, platform::TRANSPARENT);
    }
  }
  EXPECT_EQ(rows.back().number.y, 470);
  EXPECT_EQ(rows[0].entries[0].textColour, GREEN);
  EXPECT_EQ(rows[10].entries[0].textColour, RED);
  EXPECT_EQ(rows[14].entries[2].textColour, RED);
}

TEST_F(PaintTest, DiatonicSingleNotesListOneNotePerRow) {
  program.sel.scaleSteps = 15;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 15u);
  for (const ListedRow& row : rows) {
    ASSERT_EQ(row.entries.size(), 1u);
    EXPECT_EQ(centreOf(row.entries[0]), 80);
  }
  EXPECT_EQ(rows[0].entries[0].text, "-G");
  EXPECT_EQ(rows[14].entries[0].text, "g");
}

TEST_F(PaintTest, TextColourReturnsToBlackAfterEveryListedNote) {
  program.sel.scaleSteps = 15;
  const auto ops = afterCaptions();
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].kind != Kind::TextOut || isStepNumber(ops[i])) continue;
    ASSERT_LT(i + 1, ops.size());
    EXPECT_EQ(ops[i + 1].kind, Kind::TextColor) << ops[i].text;
    EXPECT_EQ(ops[i + 1].value, BLACK) << ops[i].text;
  }
  EXPECT_EQ(surface.textColour, BLACK);
}

TEST_F(PaintTest, SeventhChordRowsSpanFourNotesJoinedByDashes) {
  selectNothing();
  program.sel.chordSel = 304;  // dominant sevenths
  program.sel.scpIndex = 4;
  program.sel.scaleSteps = COLS_CHORDS;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 12u);
  for (const ListedRow& row : rows) {
    const auto notes = row.notes();
    const auto dashes = row.separators();
    ASSERT_EQ(notes.size(), 4u);
    ASSERT_EQ(dashes.size(), 3u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(centreOf(notes[static_cast<size_t>(k)]), 80 + 50 * k);
    for (int k = 0; k < 3; ++k) {
      const SurfaceOp& dash = dashes[static_cast<size_t>(k)];
      EXPECT_EQ(dash.text, "-");
      EXPECT_EQ(dash.x, 105 + 50 * k);
      EXPECT_EQ(dash.textColour, BLACK);
    }
  }
  // B7 in G-C-F: B D# F# A.
  EXPECT_EQ(rows[0].noteNames(), (std::vector<std::string>{"-B", "D#", "F#", "A"}));
  // A dash comes before each note but the first.
  EXPECT_EQ(rows[0].entries[0].text, "-B");
  EXPECT_EQ(rows[0].entries[1].text, "-");
}

TEST_F(PaintTest, TriadRowsHaveThreeNotesAndTwoDashes) {
  selectNothing();
  program.sel.chordSel = IDM_CHORDS_MAJOR;
  program.sel.scaleSteps = COLS_CHORDS;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 12u);
  for (const ListedRow& row : rows) {
    EXPECT_EQ(row.notes().size(), 3u);
    EXPECT_EQ(row.separators().size(), 2u);
  }
  EXPECT_EQ(rows[0].noteNames(), (std::vector<std::string>{"-B", "D#", "F#"}));
  EXPECT_EQ(rows[11].number.y, 50 + 30 * 11);
}

TEST_F(PaintTest, ProgressionsListThreeOrFourChords) {
  selectNothing();
  program.sel.circleSel = IDM_PROG_TRIAD_1;
  program.sel.scaleSteps = COLS_PROGS_3;
  auto rows = listing();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].noteNames(), (std::vector<std::string>{"-B", "D#", "F#"}));  // I of B

  program.sel.circleSel = IDM_PROG_C_ARM_1;
  program.sel.scpIndex = 12;
  program.sel.scaleSteps = COLS_PROGS_4;
  rows = listing();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].notes().size(), 4u);  // V7
  EXPECT_EQ(rows[3].number.text, "4 :");
}

TEST_F(PaintTest, ChromaticListingInGcfRunsBlueFromCAndEndsWithARedC) {
  selectNothing();
  program.sel.chromaticSel = 1;
  program.sel.scaleSteps = COLS_CHROMATIC;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 13u);
  const char* names[13] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B", "c"};
  for (size_t i = 0; i < 13; ++i) {
    ASSERT_EQ(rows[i].entries.size(), 1u);
    EXPECT_EQ(rows[i].entries[0].text, names[i]);
    EXPECT_EQ(rows[i].entries[0].textColour, i < 12 ? BLUE : RED) << names[i];
    EXPECT_EQ(rows[i].number.textColour, BLACK);
  }
}

TEST_F(PaintTest, WholeToneListingClimbsInWholeTones) {
  selectNothing();
  program.sel.wholeToneSel = IDM_SCALE_WT0;
  program.sel.scaleSteps = COLS_WHOLETONE;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows[0].noteNames(), std::vector<std::string>{"C"});
  EXPECT_EQ(rows[1].noteNames(), std::vector<std::string>{"D"});
  EXPECT_EQ(rows[12].noteNames(), std::vector<std::string>{"c+"});
}

TEST_F(PaintTest, ChangingTheTuningChangesTheLabelsButNoCircle) {
  program.sel.scaleSteps = 15;
  const auto gcf = paint();
  fakes::RecordingSurface adgSurface;
  program.sel.keySel = IDRB_ADG;
  program.sel.keySel2 = 3;
  paintWindow(program, adgSurface);
  const auto& adg = adgSurface.ops();

  auto circles = [](const std::vector<SurfaceOp>& ops) {
    std::vector<std::vector<int>> boxes;
    for (const SurfaceOp& op : ops)
      if (op.kind == Kind::Ellipse) boxes.push_back({op.x, op.y, op.x2, op.y2});
    return boxes;
  };
  EXPECT_EQ(circles(gcf), circles(adg));
  const auto gcfTexts = textsOf(gcf);
  const auto adgTexts = textsOf(adg);
  EXPECT_EQ(gcfTexts[2].text, "C");  // position 2
  EXPECT_EQ(adgTexts[2].text, "D");
  // The listing follows the tuning too: G major becomes A major on the same buttons.
  EXPECT_EQ(gcfTexts[62 + 2 + 1].text, "-G");
  EXPECT_EQ(adgTexts[62 + 2 + 1].text, "-A");
}

// Odd states, as a hand-edited settings store can bring: the listing stays inside
// the tables and draws only what they hold.
TEST_F(PaintTest, StepCountsBeyondATableRowListOnlyTheRowsTheTableHolds) {
  struct Case {
    int SelectionState::*kind;
    int value;
    int scpIndex;
    int expectedRows;
  };
  const Case cases[] = {
      {&SelectionState::chromaticSel, 1, 0, COLS_CHROMATIC},
      {&SelectionState::wholeToneSel, IDM_SCALE_WT1, 1, COLS_WHOLETONE},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 0, DIATONIC_MAX_STEPS},
      {&SelectionState::chordSel, IDM_CHORDS_MAJOR, 0, COLS_CHORDS},
      {&SelectionState::circleSel, IDM_PROG_C_MEL_12, 35, COLS_PROGS_4},
  };
  for (const Case& c : cases) {
    selectNothing();
    program.sel.*c.kind = c.value;
    program.sel.scpIndex = c.scpIndex;
    program.sel.scaleSteps = 1000;
    EXPECT_EQ(listing().size(), static_cast<size_t>(c.expectedRows)) << c.value;
    program.sel.*c.kind = 0;
  }
}

TEST_F(PaintTest, AChordWithoutItsEndMarkIsReadNoFurtherThanItsFiveSlots) {
  // The fourth chord of a triad progression is empty and unterminated.
  selectNothing();
  program.sel.circleSel = IDM_PROG_TRIAD_1;
  program.sel.scaleSteps = 4;
  const auto rows = listing();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_LE(rows[3].notes().size(), 5u);
  for (const SurfaceOp& note : rows[3].notes()) EXPECT_LE(centreOf(note), 80 + 50 * 4);
}

TEST_F(PaintTest, RowIndexesOutsideTheirTableListNothing) {
  struct Case {
    int SelectionState::*kind;
    int value;
    int scpIndex;
  };
  const Case cases[] = {
      {&SelectionState::wholeToneSel, IDM_SCALE_WT0, 2},
      {&SelectionState::wholeToneSel, IDM_SCALE_WT0, -1},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 24},
      {&SelectionState::chordSel, IDM_CHORDS_MAJOR, 11},
      {&SelectionState::circleSel, IDM_PROG_TRIAD_1, 36},
      {&SelectionState::circleSel, IDM_PROG_TRIAD_1, -5},
  };
  for (const Case& c : cases) {
    selectNothing();
    program.sel.*c.kind = c.value;
    program.sel.scpIndex = c.scpIndex;
    program.sel.scaleSteps = 3;
    EXPECT_TRUE(listing().empty()) << c.value << " at " << c.scpIndex;
    EXPECT_EQ(surface.opsOf(Kind::Ellipse).size(), 62u);
    program.sel.*c.kind = 0;
  }
}

TEST_F(PaintTest, OddDirectionOrFormatListsNothing) {
  program.sel.scaleSteps = 15;
  program.sel.direcSel2 = 3;
  EXPECT_TRUE(listing().empty());
  program.sel.direcSel2 = 0;
  program.sel.formatSel2 = -1;
  EXPECT_TRUE(listing().empty());
}

TEST_F(PaintTest, AnUnknownTuningStillDrawsTheCirclesAndCaptionsButNoNames) {
  program.sel.keySel2 = 4;
  program.sel.chromaticSel = 1;
  program.sel.diatonicSel = 0;
  program.sel.scaleSteps = 13;
  const auto& ops = paint();
  EXPECT_EQ(surface.opsOf(Kind::Ellipse).size(), 62u);
  const auto texts = textsOf(ops);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "Notas hacia FUERA");
  EXPECT_EQ(texts[1].text, "Notas hacia DENTRO");
}

}  // namespace
}  // namespace brenavo
