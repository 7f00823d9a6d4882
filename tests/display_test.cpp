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
#include "selection/selection_rules.h"

using namespace brenavo;

using fakes::SurfaceOp;
using platform::Colour;
using Names = std::vector<std::string>;

constexpr Colour BLACK = platform::BLACK, WHITE = platform::WHITE;
constexpr int GLYPH_WIDTH = 10, GLYPH_HEIGHT = 20;  // the recording surface's measure

static int centreOf(const SurfaceOp& text) { return text.x + GLYPH_WIDTH * int(text.text.size()) / 2; }

// The colour a name sets, or the caller's colour (here 1) when it sets none.
static Colour colourOf(const std::string& name) {
  fakes::RecordingSurface surface;
  return surface.setTextColor(1), evaluateOctave(surface, name.c_str()), surface.textColour;
}

// Octaves 3 to 6 are green, blue, red and dark red; the marks of a name say which, and a
// lower-case letter outweighs a capital and a "-".
TEST(NoteLabelColour, FollowsTheMidiOctaveOfEveryButtonAndTheLowerCaseRuleWins) {
  const Colour octaves[] = {platform::rgb(0, 255, 0), platform::rgb(0, 0, 255),
                            platform::rgb(255, 0, 0), platform::rgb(128, 0, 0)};
  for (const ACC_KEYBOARD& tuning : keyConfig)
    for (int p = 0; p < KB_POSITIONS; ++p)
      EXPECT_TRUE(isLabelSlot(p) || colourOf(tuning.szNoteName[p]) ==
                                        octaves[std::clamp(tuning.midiKeyNum[p] / 12 - 4, 0, 3)]);
  for (const auto& [name, colour] : {std::pair{"Bb", octaves[2]}, {"-Bb", octaves[2]}, {"12 :", 1u}, {"/", 1u}})
    EXPECT_EQ(colourOf(name), colour) << name;
}

// Every paint: the blank, 62 white circles where the diagrams show them, each with its tuning's
// label centred on it, white captions centred under each side with their bottom at 525, then the
// listing rows: a black step number ending at x 51, then at most four notes centred every 50 px
// from x 80, black separators ("/" in scales, "-" in chords) between; each row 30 px lower.
TEST(Paint, DiagramsCaptionsAndTheListingRowByRow) {
  using S = SelectionState;
  struct Case { int S::*kind; int id, row, steps, format, tuning; Names first; };
  const Case cases[] = {
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 1, 0, {"-G", "-B"}},  // in thirds
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 0, 3, {"-A"}},        // A-D-G
      {&S::chordSel, 304, 4, 12, 0, 0, {"-B", "D#", "F#", "A"}},  // B7
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 3, 0, 0, {"-B", "D#", "F#"}},
      {&S::circleSel, IDM_PROG_C_ARM_1, 12, 4, 0, 0, {"B", "D#", "F#"}},
      {&S::pentatonicSel, IDM_SCALE_PENT_1, 0, PENT_STEPS, 0, 0, {"-G"}},
      {&S::chromaticSel, 1, 0, COLS_CHROMATIC, 0, 2, {}}, {&S::wholeToneSel, IDM_SCALE_WT1, 1, COLS_WHOLETONE, 0, 1, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " row " << c.row << " tuning " << c.tuning);
    fakes::RecordingPlatform fake;
    Program program(fake.services());
    createButtonXYs(program), createDrawingResources(program);
    S& sel = program.sel;
    clearKinds(sel), sel.*c.kind = c.id, sel.formatSel = IDM_SCALE_NOTES + c.format;
    std::tie(sel.scpIndex, sel.scaleSteps, sel.formatSel2, sel.keySel2) =
        std::tuple{c.row, c.steps, c.format, c.tuning};
    for (const auto& [p, x, y] :
         {std::tuple{0, 430, 52}, {11, 475, 30}, {21, 475, 480}, {31, 520, 457}, {54, 675, 480}})
      EXPECT_EQ((std::pair{buttonX(program, p), buttonY(program, p)}), (std::pair{x, y})) << p;
    fakes::RecordingSurface surface;
    surface.bkColour = platform::rgb(10, 20, 30), paintWindow(program, surface);
    std::vector<SurfaceOp> circles, texts;
    for (const SurfaceOp& op : surface.ops()) {
      if (op.kind == SurfaceOp::Kind::Ellipse && texts.empty()) circles.push_back(op);
      if (op.kind == SurfaceOp::Kind::TextOut) texts.push_back(op);
    }
    const SurfaceOp& blank = surface.ops().at(0);
    EXPECT_EQ((std::tuple{blank.kind, blank.x, blank.y, blank.x2, blank.y2, surface.bkColour,
                          surface.textColour, circles.size()}),
              (std::tuple{SurfaceOp::Kind::CopyBlank, 0, 0, 1024, 768, platform::rgb(10, 20, 30),
                          BLACK, size_t{62}}));
    ASSERT_GE(texts.size(), 64u);
    for (int p = 0, i = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      const int x = buttonX(program, p), y = buttonY(program, p);
      const SurfaceOp &circle = circles[i], &label = texts[i++];
      const std::string name = keyConfig[c.tuning].szNoteName[p];
      EXPECT_EQ((std::tuple{circle.x, circle.y, circle.x2, circle.y2, circle.brush.colour,
                            label.text, centreOf(label), label.y, label.textColour, label.bkMode}),
                (std::tuple{x - 20, y - 20, x + 20, y + 20, WHITE, name, x, y - GLYPH_HEIGHT / 2,
                            colourOf(name), platform::TRANSPARENT})) << p;
    }
    std::vector<std::tuple<std::string, int, int, Colour, platform::Font>> captions;
    for (const SurfaceOp& t : {texts[62], texts[63]})
      captions.push_back({t.text, centreOf(t), t.y + GLYPH_HEIGHT, t.textColour, t.font});
    EXPECT_EQ(captions, (decltype(captions){{"Notas hacia FUERA", 475, 525, WHITE, {}},
                                            {"Notas hacia DENTRO", 675, 525, WHITE, {}}}));
    const std::string separator = c.kind == &S::chordSel || c.kind == &S::circleSel ? "-" : "/";
    int row = -1, k = 0;
    Names first;
    for (size_t i = 64; i < texts.size(); ++i) {
      const SurfaceOp& t = texts[i];
      const bool number = t.text.ends_with(" :"), note = !number && k % 2 == 0;
      if (number) ++row, k = 0;
      const int slot = number ? 0 : k++ / 2, end = t.x + GLYPH_WIDTH * int(t.text.size());
      if (row == 0 && note) first.push_back(t.text);
      EXPECT_EQ((std::tuple{t.text, number ? end : note ? centreOf(t) : t.x, t.y, t.textColour, slot}),
                (std::tuple{number ? std::to_string(row + 1) + " :" : note ? t.text : separator,
                            number ? 51 : 80 + 50 * slot + (note ? 0 : 25), 50 + 30 * row,
                            note ? colourOf(t.text) : BLACK, std::min(slot, 3)})) << i;
    }
    EXPECT_TRUE(row + 1 == c.steps && (c.first.empty() || first == c.first)) << row;  // a row a step
  }
}
