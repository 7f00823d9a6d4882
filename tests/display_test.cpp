// What one paint draws: the blank, both diagrams, the captions and the listing, and the
// octave colours of the note names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "display/painting.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"

namespace brenavo {
namespace {

using fakes::RecordingSurface;
using fakes::SurfaceOp;
using Kind = SurfaceOp::Kind;
using platform::Colour;
using platform::rgb;

constexpr Colour GREEN = rgb(0, 255, 0), BLUE = rgb(0, 0, 255), RED = rgb(255, 0, 0),
                 DARK_RED = rgb(128, 0, 0), BLACK = platform::BLACK, WHITE = platform::WHITE;
constexpr int GLYPH_WIDTH = 10;  // the recording surface's measure
constexpr int GLYPH_HEIGHT = 20;

int centreOf(const SurfaceOp& text) {
  return text.x + GLYPH_WIDTH * static_cast<int>(text.text.size()) / 2;
}
bool isStepNumber(const SurfaceOp& op) {
  return op.text.size() > 2 && op.text.ends_with(" :");
}
std::vector<SurfaceOp> only(Kind kind, const std::vector<SurfaceOp>& ops) {
  std::vector<SurfaceOp> out;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
               [kind](const SurfaceOp& op) { return op.kind == kind; });
  return out;
}

// The colour a name sets, or the caller's colour (here 1) when it sets none.
Colour colourOf(const char* name) {
  RecordingSurface surface;
  surface.setTextColor(1);
  evaluateOctave(surface, name);
  return surface.textColour;
}

Colour colourOfMidiOctave(int midi) {
  return midi < 60 ? GREEN : midi < 72 ? BLUE : midi < 84 ? RED : DARK_RED;
}

TEST(NoteLabelColour, FollowsTheOctaveMarks) {
  const std::pair<const char*, Colour> cases[] = {
      {"-G", GREEN}, {"G", BLUE}, {"g", RED}, {"g+", DARK_RED}, {"d#+", DARK_RED},
      {"Bb", RED},  // a capital and a lower-case letter: the lower-case rule wins
      {"12 :", 1},  {"/", 1}};
  for (const auto& [name, colour] : cases) EXPECT_EQ(colourOf(name), colour) << name;
}

TEST(NoteLabelColour, EveryButtonOfEveryTuningIsColouredByItsMidiOctave) {
  for (const ACC_KEYBOARD& tuning : keyConfig) {
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      EXPECT_EQ(colourOf(tuning.szNoteName[p]), colourOfMidiOctave(tuning.midiKeyNum[p]))
          << tuning.szKeyConfig << " position " << p;
    }
  }
}

// One row of the listing: its step number and the entries after it, in drawing order.
struct ListedRow {
  SurfaceOp number;
  std::vector<SurfaceOp> entries;
  std::vector<std::string> noteNames() const {  // notes and separators alternate
    std::vector<std::string> names;
    for (size_t i = 0; i < entries.size(); i += 2) names.push_back(entries[i].text);
    return names;
  }
};

class PaintTest : public ::testing::Test {
 protected:
  PaintTest() : program(fake.services()) {
    fake.screen = {1280, 800};
    createButtonXYs(program);
    createDrawingResources(program);
  }

  void select(int SelectionState::*kind, int id, int scpIndex, int steps) {
    SelectionState& sel = program.sel;
    sel.chromaticSel = sel.diatonicSel = sel.pentatonicSel = 0;
    sel.wholeToneSel = sel.chordSel = sel.circleSel = 0;
    if (kind) sel.*kind = id;
    sel.scpIndex = scpIndex;
    sel.scaleSteps = steps;
  }

  std::vector<SurfaceOp> paint() {
    RecordingSurface surface;
    paintWindow(program, surface);
    return surface.ops();
  }

  // The rows drawn after the push caption.
  std::vector<ListedRow> listing() {
    const std::vector<SurfaceOp> texts = only(Kind::TextOut, paint());
    auto caption = std::find_if(texts.begin(), texts.end(), [](const SurfaceOp& op) {
      return op.text == "Notas hacia DENTRO";
    });
    EXPECT_NE(caption, texts.end());
    std::vector<ListedRow> rows;
    for (auto it = caption == texts.end() ? caption : caption + 1; it != texts.end(); ++it) {
      if (isStepNumber(*it))
        rows.push_back({*it, {}});
      else if (rows.empty())
        ADD_FAILURE() << "a listing entry before any step number: " << it->text;
      else
        rows.back().entries.push_back(*it);
    }
    return rows;
  }

  fakes::RecordingPlatform fake;
  Program program;
};

// Nothing selected: the blank, 62 circles, their labels, the captions on a black band,
// and an empty panel.
TEST_F(PaintTest, DiagramsThenCaptionsAndAnEmptyPanelWhenNothingIsSelected) {
  select(nullptr, 0, 0, 15);
  RecordingSurface surface;
  surface.bkColour = rgb(10, 20, 30);
  paintWindow(program, surface);
  const std::vector<SurfaceOp>& ops = surface.ops();
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ((std::tuple{ops[0].kind, ops[0].x, ops[0].y, ops[0].x2, ops[0].y2}),
            (std::tuple{Kind::CopyBlank, 0, 0, 1280, 800}));
  const std::vector<SurfaceOp> circles = only(Kind::Ellipse, ops), texts = only(Kind::TextOut, ops);
  ASSERT_EQ(circles.size(), 62u);
  ASSERT_EQ(texts.size(), 62u + 2u);  // nothing after the captions
  const auto firstText = std::find_if(ops.begin(), ops.end(),
                                      [](const SurfaceOp& op) { return op.kind == Kind::TextOut; });
  EXPECT_EQ(std::count_if(ops.begin(), firstText,
                          [](const SurfaceOp& op) { return op.kind == Kind::Ellipse; }), 62);

  // Positions where the diagrams show them; the push side is the pull side moved right.
  for (const auto& [p, x, y] :
       {std::tuple{0, 430, 52}, {11, 475, 30}, {21, 475, 480}, {31, 520, 457}, {54, 675, 480}})
    EXPECT_EQ((std::pair{buttonX(program, p), buttonY(program, p)}), (std::pair{x, y})) << p;
  for (int p = 0; p < KB_BUTTONS; ++p)
    EXPECT_EQ(buttonX(program, KB_BUTTONS + p), buttonX(program, p) + 200) << p;
  size_t i = 0;
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (isLabelSlot(p)) continue;
    const int x = buttonX(program, p), y = buttonY(program, p);
    const SurfaceOp& circle = circles[i];
    const SurfaceOp& label = texts[i++];
    EXPECT_EQ((std::tuple{circle.x, circle.y, circle.x2, circle.y2, circle.brush.colour}),
              (std::tuple{x - 20, y - 20, x + 20, y + 20, WHITE})) << p;
    EXPECT_EQ((std::tuple{label.text, centreOf(label), label.y, label.textColour, label.bkMode}),
              (std::tuple{std::string(keyConfig[0].szNoteName[p]), x, y - GLYPH_HEIGHT / 2,
                          colourOf(keyConfig[0].szNoteName[p]), platform::TRANSPARENT})) << p;
  }

  // The surface's own font back, then a black band behind white text.
  auto pull = std::find_if(ops.begin(), ops.end(),
                           [](const SurfaceOp& op) { return op.text == "Notas hacia FUERA"; });
  ASSERT_GE(pull - ops.begin(), 5);
  std::vector<std::pair<Kind, Colour>> band;
  for (auto it = pull - 5; it != pull; ++it) band.push_back({it->kind, it->value});
  EXPECT_EQ(band, (std::vector<std::pair<Kind, Colour>>{
                      {Kind::SelectFont, 0}, {Kind::TextColor, BLACK}, {Kind::BkColor, BLACK},
                      {Kind::TextColor, WHITE}, {Kind::BkMode, Colour(platform::OPAQUE)}}));
  for (size_t k : {0u, 1u}) {
    const SurfaceOp& caption = texts[62 + k];
    EXPECT_EQ(caption.text, k == 0 ? "Notas hacia FUERA" : "Notas hacia DENTRO");
    EXPECT_EQ((std::pair{centreOf(caption), caption.y + GLYPH_HEIGHT}),
              (std::pair{475 + 200 * int(k), 525}));
    EXPECT_EQ((std::pair{caption.textColour, caption.font}), (std::pair{WHITE, platform::Font{}}));
  }
  EXPECT_EQ((std::pair{surface.bkColour, surface.textColour}), (std::pair{rgb(10, 20, 30), BLACK}));
}

TEST_F(PaintTest, DiatonicScaleInThirdsListsFifteenRowsOfTwoNotes) {
  select(&SelectionState::diatonicSel, IDM_SCALE_1, 0, 15);
  program.sel.formatSel = IDM_SCALE_THIRDS;
  program.sel.formatSel2 = 1;
  const std::vector<ListedRow> rows = listing();
  ASSERT_EQ(rows.size(), 15u);
  // G major in thirds on the pull side.
  const char* names[17] = {"-G", "-A", "-B", "C", "D", "E", "F#", "G", "A",
                           "B",  "c",  "d",  "e", "f#", "g", "a", "b"};
  for (size_t i = 0; i < 15; ++i) {
    const ListedRow& row = rows[i];
    const int top = 50 + 30 * static_cast<int>(i);
    EXPECT_EQ(row.number.text, std::to_string(i + 1) + " :");
    EXPECT_EQ(row.number.x + GLYPH_WIDTH * static_cast<int>(row.number.text.size()), 51);
    EXPECT_EQ(row.number.textColour, BLACK);
    ASSERT_EQ(row.entries.size(), 3u) << i;
    EXPECT_EQ(row.noteNames(), (std::vector<std::string>{names[i], names[i + 2]}));
    EXPECT_EQ(centreOf(row.entries[0]), 80);
    EXPECT_EQ(row.entries[1].text, "/");
    EXPECT_EQ(row.entries[1].x, 105);
    EXPECT_EQ(row.entries[1].textColour, BLACK);
    EXPECT_EQ(centreOf(row.entries[2]), 130);
    EXPECT_EQ(row.entries[2].textColour, colourOf(names[i + 2]));
    for (const SurfaceOp& op : row.entries) EXPECT_EQ(op.y, top);
  }
}

TEST_F(PaintTest, SeventhChordRowsSpanFourNotesJoinedByDashes) {
  select(&SelectionState::chordSel, 304, 4, COLS_CHORDS);  // dominant sevenths
  const std::vector<ListedRow> rows = listing();
  ASSERT_EQ(rows.size(), 12u);
  for (const ListedRow& row : rows) {
    ASSERT_EQ(row.entries.size(), 7u);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(centreOf(row.entries[2 * k]), 80 + 50 * int(k));
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(row.entries[2 * k + 1].text, "-");
      EXPECT_EQ(row.entries[2 * k + 1].x, 105 + 50 * int(k));
    }
  }
  EXPECT_EQ(rows[0].noteNames(), (std::vector<std::string>{"-B", "D#", "F#", "A"}));  // B7
}

TEST_F(PaintTest, ProgressionsListThreeOrFourChords) {
  select(&SelectionState::circleSel, IDM_PROG_TRIAD_1, 0, COLS_PROGS_3);
  std::vector<ListedRow> rows = listing();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].noteNames(), (std::vector<std::string>{"-B", "D#", "F#"}));  // I of B

  select(&SelectionState::circleSel, IDM_PROG_C_ARM_1, 12, COLS_PROGS_4);
  rows = listing();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].noteNames().size(), 4u);  // V7
}

TEST_F(PaintTest, ChangingTheTuningChangesTheLabelsButNoCircle) {
  select(&SelectionState::diatonicSel, IDM_SCALE_1, 0, 15);
  const std::vector<SurfaceOp> gcf = paint();
  program.sel.keySel = IDRB_ADG;
  program.sel.keySel2 = 3;
  const std::vector<SurfaceOp> adg = paint();
  const std::vector<SurfaceOp> gcfCircles = only(Kind::Ellipse, gcf);
  const std::vector<SurfaceOp> adgCircles = only(Kind::Ellipse, adg);
  ASSERT_EQ(gcfCircles.size(), adgCircles.size());
  for (size_t i = 0; i < gcfCircles.size(); ++i)
    EXPECT_EQ((std::tuple{gcfCircles[i].x, gcfCircles[i].y, gcfCircles[i].x2, gcfCircles[i].y2}),
              (std::tuple{adgCircles[i].x, adgCircles[i].y, adgCircles[i].x2, adgCircles[i].y2}));
  // Position 2 is C in G-C-F and D in A-D-G; the listing's G major becomes A major.
  EXPECT_EQ((std::pair{only(Kind::TextOut, gcf)[2].text, only(Kind::TextOut, adg)[2].text}),
            (std::pair<std::string, std::string>{"C", "D"}));
  EXPECT_EQ((std::pair{only(Kind::TextOut, gcf)[65].text, only(Kind::TextOut, adg)[65].text}),
            (std::pair<std::string, std::string>{"-G", "-A"}));
}

// A pentatonic scale lists nothing. The other rows are odd states, as a hand-edited
// settings store can bring: the diagrams are drawn as always and the listing shows only
// what the tables hold, never reading outside them.
TEST_F(PaintTest, TheListingShowsOnlyWhatTheTablesHold) {
  struct Case {
    int SelectionState::*kind;
    int id, scpIndex, steps, direction, format, tuning;
    size_t rows;
  };
  const Case cases[] = {
      {&SelectionState::pentatonicSel, IDM_SCALE_PENT_1, 0, PENT_STEPS, 0, 0, 0, PENT_STEPS},
      {&SelectionState::chromaticSel, 1, 0, 1000, 0, 0, 0, COLS_CHROMATIC},
      {&SelectionState::wholeToneSel, IDM_SCALE_WT1, 1, 1000, 0, 0, 0, COLS_WHOLETONE},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 0, 1000, 0, 0, 0, DIATONIC_MAX_STEPS},
      {&SelectionState::chordSel, IDM_CHORDS_MAJOR, 0, 1000, 0, 0, 0, COLS_CHORDS},
      {&SelectionState::circleSel, IDM_PROG_C_MEL_12, 35, 1000, 0, 0, 0, COLS_PROGS_4},
      // The fourth chord of a triad progression is empty and has no end mark.
      {&SelectionState::circleSel, IDM_PROG_TRIAD_1, 0, 4, 0, 0, 0, 4},
      {&SelectionState::wholeToneSel, IDM_SCALE_WT0, 2, 3, 0, 0, 0, 0},
      {&SelectionState::wholeToneSel, IDM_SCALE_WT0, -1, 3, 0, 0, 0, 0},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 24, 3, 0, 0, 0, 0},
      {&SelectionState::chordSel, IDM_CHORDS_MAJOR, 11, 3, 0, 0, 0, 0},
      {&SelectionState::circleSel, IDM_PROG_TRIAD_1, 36, 3, 0, 0, 0, 0},
      {&SelectionState::circleSel, IDM_PROG_TRIAD_1, -5, 3, 0, 0, 0, 0},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 0, 15, 3, 0, 0, 0},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 0, 15, 0, -1, 0, 0},
      {&SelectionState::diatonicSel, IDM_SCALE_1, 0, -3, 0, 0, 0, 0},
      {&SelectionState::chromaticSel, 1, 0, 13, 0, 0, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " row " << c.scpIndex << " steps " << c.steps);
    select(c.kind, c.id, c.scpIndex, c.steps);
    program.sel.direcSel2 = c.direction;
    program.sel.formatSel2 = c.format;
    program.sel.keySel2 = c.tuning;
    const std::vector<SurfaceOp> ops = paint();
    EXPECT_EQ(only(Kind::Ellipse, ops).size(), 62u);
    const std::vector<ListedRow> rows = listing();
    EXPECT_EQ(rows.size(), c.rows);
    for (const ListedRow& row : rows) EXPECT_LE(row.entries.size(), 7u);  // four notes at most
  }
}

}  // namespace
}  // namespace brenavo
