// What one paint draws: the blank, both diagrams with their labels in octave colours, the
// captions, and the listing of the selection.
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

using fakes::SurfaceOp;
using Kind = SurfaceOp::Kind;
using platform::Colour;
using S = SelectionState;
using Names = std::vector<std::string>;

constexpr Colour BLACK = platform::BLACK, WHITE = platform::WHITE;
constexpr int GLYPH_WIDTH = 10, GLYPH_HEIGHT = 20;  // the recording surface's measure

int centreOf(const SurfaceOp& text) { return text.x + GLYPH_WIDTH * int(text.text.size()) / 2; }
std::vector<SurfaceOp> only(Kind kind, const std::vector<SurfaceOp>& ops) {
  std::vector<SurfaceOp> out;
  std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
               [kind](const SurfaceOp& op) { return op.kind == kind; });
  return out;
}

// The colour a name sets, or the caller's colour (here 1) when it sets none.
Colour colourOf(const char* name) {
  fakes::RecordingSurface surface;
  surface.setTextColor(1);
  evaluateOctave(surface, name);
  return surface.textColour;
}

// Octaves 3 to 6 are green, blue, red and dark red; the marks of a name say which, and a
// lower-case letter outweighs a capital and a "-".
TEST(NoteLabelColour, FollowsTheMidiOctaveOfEveryButtonAndTheLowerCaseRuleWins) {
  for (const ACC_KEYBOARD& tuning : keyConfig)
    for (int p = 0; p < KB_POSITIONS; ++p) {
      const int midi = tuning.midiKeyNum[p];
      const Colour octave = midi < 60   ? platform::rgb(0, 255, 0)
                            : midi < 72 ? platform::rgb(0, 0, 255)
                            : midi < 84 ? platform::rgb(255, 0, 0)
                                        : platform::rgb(128, 0, 0);
      EXPECT_TRUE(isLabelSlot(p) || colourOf(tuning.szNoteName[p]) == octave) << midi;
    }
  for (const auto& [name, colour] : {std::pair{"Bb", platform::rgb(255, 0, 0)},
                                     {"-Bb", platform::rgb(255, 0, 0)}, {"12 :", 1}, {"/", 1}})
    EXPECT_EQ(colourOf(name), colour) << name;
}

class PaintTest : public ::testing::Test {
 protected:
  PaintTest() : program(fake.services()) {
    fake.screen = {1280, 800};
    createButtonXYs(program);
    createDrawingResources(program);
  }
  void select(int S::*kind, int id, int scpIndex, int steps) {
    S& sel = program.sel;
    sel.chromaticSel = sel.diatonicSel = sel.pentatonicSel = 0;
    sel.wholeToneSel = sel.chordSel = sel.circleSel = 0;
    if (kind) sel.*kind = id;
    sel.scpIndex = scpIndex;
    sel.scaleSteps = steps;
  }
  std::vector<SurfaceOp> paint() {
    fakes::RecordingSurface surface;
    paintWindow(program, surface);
    return surface.ops();
  }
  // The listing drawn after the push caption: per row, its step number then its entries.
  std::vector<std::vector<SurfaceOp>> listing() {
    const std::vector<SurfaceOp> texts = only(Kind::TextOut, paint());
    auto it = std::find_if(texts.begin(), texts.end(),
                           [](const SurfaceOp& op) { return op.text == "Notas hacia DENTRO"; });
    EXPECT_NE(it, texts.end());
    std::vector<std::vector<SurfaceOp>> rows;
    for (it = it == texts.end() ? it : it + 1; it != texts.end(); ++it) {
      if (it->text.ends_with(" :")) rows.emplace_back();
      if (rows.empty()) {
        ADD_FAILURE() << "an entry before any step number: " << it->text;
      } else {
        rows.back().push_back(*it);
      }
    }
    return rows;
  }

  fakes::RecordingPlatform fake;
  Program program;
};

// Nothing selected, in each tuning: the blank, then 62 white circles where the diagrams
// show them, each with its tuning's label centred on it, then the two captions.
TEST_F(PaintTest, DiagramsThenCaptionsAndNoListingWhenNothingIsSelected) {
  select(nullptr, 0, 0, 15);
  for (const auto& [p, x, y] :
       {std::tuple{0, 430, 52}, {11, 475, 30}, {21, 475, 480}, {31, 520, 457}, {54, 675, 480}})
    EXPECT_EQ((std::pair{buttonX(program, p), buttonY(program, p)}), (std::pair{x, y})) << p;
  for (int p = 0; p < KB_BUTTONS; ++p)  // the push side is the pull side moved right
    EXPECT_EQ(buttonX(program, KB_BUTTONS + p), buttonX(program, p) + 200) << p;
  for (program.sel.keySel2 = 0; program.sel.keySel2 < 4; ++program.sel.keySel2) {
    fakes::RecordingSurface surface;
    surface.bkColour = platform::rgb(10, 20, 30);
    paintWindow(program, surface);
    const std::vector<SurfaceOp>& ops = surface.ops();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ((std::tuple{ops[0].kind, ops[0].x, ops[0].y, ops[0].x2, ops[0].y2}),
              (std::tuple{Kind::CopyBlank, 0, 0, 1280, 800}));
    const auto circles = only(Kind::Ellipse, ops), texts = only(Kind::TextOut, ops);
    ASSERT_EQ((std::pair{circles.size(), texts.size()}), (std::pair<size_t, size_t>{62, 62 + 2}));
    const auto firstText = std::find_if(ops.begin(), ops.end(), [](const SurfaceOp& op) {
      return op.kind == Kind::TextOut;
    });
    EXPECT_EQ(only(Kind::Ellipse, {ops.begin(), firstText}).size(), 62u);  // circles, then labels
    size_t i = 0;
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const int x = buttonX(program, p), y = buttonY(program, p);
      const SurfaceOp &circle = circles[i], &label = texts[i++];
      const char* name = keyConfig[program.sel.keySel2].szNoteName[p];
      EXPECT_EQ((std::tuple{circle.x, circle.y, circle.x2, circle.y2, circle.brush.colour}),
                (std::tuple{x - 20, y - 20, x + 20, y + 20, WHITE})) << p;
      EXPECT_EQ((std::tuple{label.text, centreOf(label), label.y, label.textColour, label.bkMode}),
                (std::tuple{std::string(name), x, y - GLYPH_HEIGHT / 2, colourOf(name),
                            platform::TRANSPARENT})) << p;
    }
    // White captions in the surface's own font, centred under each side, bottom at 525.
    for (int k : {0, 1}) {
      const SurfaceOp& caption = texts[62 + size_t(k)];
      EXPECT_EQ((std::tuple{caption.text, centreOf(caption), caption.y + GLYPH_HEIGHT,
                            caption.textColour, caption.font}),
                (std::tuple{std::string(k ? "Notas hacia DENTRO" : "Notas hacia FUERA"),
                            475 + 200 * k, 525, WHITE, platform::Font{}}));
    }
    EXPECT_EQ((std::pair{surface.bkColour, surface.textColour}),
              (std::pair{platform::rgb(10, 20, 30), BLACK}));
  }
}

// Each row of the listing: its black step number ending at x 51, then at most four notes
// centred every 50 pixels from x 80 in their octave colours, with black separators ("/"
// in scales, "-" in chords) between them, 30 pixels below the row before. A pentatonic
// scale lists nothing. The odd states a hand-edited settings store can bring list only
// what the tables hold, never reading outside them, and the diagrams are drawn as always.
TEST_F(PaintTest, TheListingShowsWhatTheTablesHoldRowByRow) {
  struct Case {
    int S::*kind;
    int id, scpIndex, steps, direction, format, tuning;
    size_t rows;
    Names first;  // the first row's notes, where given
  };
  const Case cases[] = {
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 0, 1, 0, 15, {"-G", "-B"}},  // in thirds
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 0, 0, 3, 15, {"-A"}},        // A-D-G
      {&S::chordSel, 304, 4, 12, 0, 0, 0, 12, {"-B", "D#", "F#", "A"}},  // B7
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 3, 0, 0, 0, 3, {"-B", "D#", "F#"}},
      {&S::circleSel, IDM_PROG_C_ARM_1, 12, 4, 0, 0, 0, 4, {"B", "D#", "F#"}},
      {&S::pentatonicSel, IDM_SCALE_PENT_1, 0, PENT_STEPS, 0, 0, 0, 0, {}},
      {&S::chromaticSel, 1, 0, 1000, 0, 0, 0, COLS_CHROMATIC, {}},
      {&S::wholeToneSel, IDM_SCALE_WT1, 1, 1000, 0, 0, 0, COLS_WHOLETONE, {}},
      {&S::diatonicSel, IDM_SCALE_1, 0, 1000, 0, 0, 0, DIATONIC_MAX_STEPS, {}},
      {&S::chordSel, IDM_CHORDS_MAJOR, 0, 1000, 0, 0, 0, COLS_CHORDS, {}},
      {&S::circleSel, IDM_PROG_C_MEL_12, 35, 1000, 0, 0, 0, COLS_PROGS_4, {}},
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 4, 0, 0, 0, 4, {}},  // an empty, unmarked 4th chord
      {&S::wholeToneSel, IDM_SCALE_WT0, 2, 3, 0, 0, 0, 0, {}},
      {&S::wholeToneSel, IDM_SCALE_WT0, -1, 3, 0, 0, 0, 0, {}},
      {&S::diatonicSel, IDM_SCALE_1, 24, 3, 0, 0, 0, 0, {}},
      {&S::chordSel, IDM_CHORDS_MAJOR, 11, 3, 0, 0, 0, 0, {}},
      {&S::circleSel, IDM_PROG_TRIAD_1, 36, 3, 0, 0, 0, 0, {}},
      {&S::circleSel, IDM_PROG_TRIAD_1, -5, 3, 0, 0, 0, 0, {}},
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 3, 0, 0, 0, {}},
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 0, -1, 0, 0, {}},
      {&S::diatonicSel, IDM_SCALE_1, 0, -3, 0, 0, 0, 0, {}},
      {&S::chromaticSel, 1, 0, 13, 0, 0, 4, 0, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " row " << c.scpIndex << " steps " << c.steps);
    select(c.kind, c.id, c.scpIndex, c.steps);
    std::tie(program.sel.direcSel2, program.sel.formatSel2, program.sel.keySel2) =
        std::tuple{c.direction, c.format, c.tuning};
    program.sel.formatSel = IDM_SCALE_NOTES + c.format;
    const std::string separator = program.sel.chordSel || program.sel.circleSel ? "-" : "/";
    EXPECT_EQ(only(Kind::Ellipse, paint()).size(), 62u);
    const auto rows = listing();
    ASSERT_EQ(rows.size(), c.rows);
    for (size_t i = 0; i < rows.size(); ++i) {
      const SurfaceOp& number = rows[i][0];
      const int end = number.x + GLYPH_WIDTH * int(number.text.size());
      EXPECT_EQ((std::tuple{number.text, end, number.y, number.textColour}),
                (std::tuple{std::to_string(i + 1) + " :", 51, 50 + 30 * int(i), BLACK}));
      EXPECT_LE(rows[i].size(), 8u);
      for (size_t k = 1; k < rows[i].size(); ++k) {
        const SurfaceOp& entry = rows[i][k];
        const int slot = int(k - 1) / 2;
        const bool note = k % 2 == 1;
        EXPECT_EQ((std::tuple{note ? entry.text : separator, note ? centreOf(entry) : entry.x,
                              entry.y, entry.textColour}),
                  (std::tuple{entry.text, note ? 80 + 50 * slot : 105 + 50 * slot,
                              50 + 30 * int(i), note ? colourOf(entry.text.c_str()) : BLACK}));
      }
    }
    Names first;
    for (size_t k = 1; !c.first.empty() && k < rows[0].size(); k += 2)
      first.push_back(rows[0][k].text);
    EXPECT_EQ(first, c.first);
  }
}

}  // namespace
}  // namespace brenavo
