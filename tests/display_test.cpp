// Button geometry and the octave colours of note labels.
#include <gtest/gtest.h>

#include <string>

#include "display/geometry.h"
#include "display/note_labels.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"

namespace brenavo {
namespace {

using fakes::RecordingSurface;
using fakes::SurfaceOp;
using platform::Colour;
using platform::rgb;

constexpr Colour GREEN = rgb(0, 255, 0);
constexpr Colour BLUE = rgb(0, 0, 255);
constexpr Colour RED = rgb(255, 0, 0);
constexpr Colour DARK_RED = rgb(128, 0, 0);

class GeometryTest : public ::testing::Test {
 protected:
  GeometryTest() : program(fake.services()) { createButtonXYs(program); }
  int x(int p) const { return buttonX(program, p); }
  int y(int p) const { return buttonY(program, p); }

  fakes::RecordingPlatform fake;
  Program program;
};

TEST_F(GeometryTest, KnownButtonsSitWhereTheDiagramsShowThem) {
  EXPECT_EQ(x(0), 430);
  EXPECT_EQ(y(0), 52);
  EXPECT_EQ(x(11), 475);
  EXPECT_EQ(y(11), 30);
  EXPECT_EQ(x(21), 475);
  EXPECT_EQ(y(21), 480);
  EXPECT_EQ(x(31), 520);
  EXPECT_EQ(y(31), 457);
  EXPECT_EQ(x(54), 675);
  EXPECT_EQ(y(54), 480);
  // The table holds all x first, then all y.
  EXPECT_EQ(program.geo.buttonXYs[54], 675);
  EXPECT_EQ(program.geo.buttonXYs[66 + 31], 457);
}

TEST_F(GeometryTest, LabelSlotsGetCoordinatesLikeButtons) {
  EXPECT_EQ(x(10), 430);
  EXPECT_EQ(x(32), 520);
  EXPECT_EQ(x(43), 630);
  EXPECT_EQ(x(65), 720);
  for (int slot : {10, 32, 43, 65}) EXPECT_EQ(y(slot), 502) << slot;
}

TEST_F(GeometryTest, PushSideIsThePullSideMovedRightBy200) {
  for (int p = 0; p < KB_BUTTONS; ++p) {
    EXPECT_EQ(x(KB_BUTTONS + p), x(p) + 200) << p;
    EXPECT_EQ(y(KB_BUTTONS + p), y(p)) << p;
  }
}

// The one colour a name gets, or none when it sets no colour.
struct ColourResult {
  int changes = 0;
  Colour last = 0;
};

ColourResult colourOf(const char* name) {
  RecordingSurface surface;
  EXPECT_EQ(evaluateOctave(surface, name), 0);
  ColourResult result;
  for (const SurfaceOp& op : surface.opsOf(SurfaceOp::Kind::TextColor)) {
    ++result.changes;
    result.last = op.value;
  }
  if (result.changes > 0) {
    EXPECT_EQ(surface.textColour, result.last);
  }
  return result;
}

TEST(NoteLabelColour, FollowsTheOctaveMarks) {
  EXPECT_EQ(colourOf("-G").last, GREEN);
  EXPECT_EQ(colourOf("G").last, BLUE);
  EXPECT_EQ(colourOf("g").last, RED);
  EXPECT_EQ(colourOf("g+").last, DARK_RED);
  EXPECT_EQ(colourOf("d#+").last, DARK_RED);
  EXPECT_EQ(colourOf("F#").last, BLUE);
  // A capital and a lower-case letter: the lower-case rule wins.
  EXPECT_EQ(colourOf("Bb").last, RED);
}

TEST(NoteLabelColour, TextWithoutLettersKeepsTheCallersColour) {
  EXPECT_EQ(colourOf("12 :").changes, 0);
  EXPECT_EQ(colourOf("").changes, 0);
  EXPECT_EQ(colourOf("/").changes, 0);
}

TEST(NoteLabelColour, SameNameAlwaysGetsSameColour) {
  RecordingSurface surface;
  evaluateOctave(surface, "c#+");
  const Colour first = surface.textColour;
  surface.setTextColor(BLUE);
  evaluateOctave(surface, "c#+");
  EXPECT_EQ(surface.textColour, first);
}

Colour colourOfMidiOctave(int midi) {
  if (midi < 60) return GREEN;
  if (midi < 72) return BLUE;
  if (midi < 84) return RED;
  return DARK_RED;
}

TEST(NoteLabelColour, EveryButtonOfEveryTuningIsColouredByItsMidiOctave) {
  for (const ACC_KEYBOARD& tuning : keyConfig) {
    for (int p = 0; p < KB_POSITIONS; ++p) {
      if (isLabelSlot(p)) continue;
      EXPECT_EQ(colourOf(tuning.szNoteName[p]).last, colourOfMidiOctave(tuning.midiKeyNum[p]))
          << tuning.szKeyConfig << " position " << p << " " << tuning.szNoteName[p];
    }
  }
}

TEST(DisplayNote, ButtonDrawsTheCircleFirstThenTheCentredLabel) {
  RecordingSurface surface;
  surface.charWidth = 5;   // "c#+" is 15 wide: half of it truncates to 7
  surface.charHeight = 23;
  EXPECT_EQ(displayNote(surface, "c#+", 475, 30, NOTEBUTTON), 0);
  const auto& ops = surface.ops();
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].kind, SurfaceOp::Kind::Ellipse);
  EXPECT_EQ(ops[0].x, 455);
  EXPECT_EQ(ops[0].y, 10);
  EXPECT_EQ(ops[0].x2, 495);
  EXPECT_EQ(ops[0].y2, 50);
  EXPECT_EQ(ops[1].kind, SurfaceOp::Kind::TextColor);
  EXPECT_EQ(ops[1].value, DARK_RED);
  EXPECT_EQ(ops[2].kind, SurfaceOp::Kind::TextOut);
  EXPECT_EQ(ops[2].text, "c#+");
  EXPECT_EQ(ops[2].x, 475 - 7);
  EXPECT_EQ(ops[2].y, 30 - 11);
  EXPECT_EQ(ops[2].textColour, DARK_RED);
}

TEST(DisplayNote, ListingEntryIsCentredOnXWithItsTopAtY) {
  RecordingSurface surface;
  surface.charWidth = 7;  // "-F#" is 21 wide
  displayNote(surface, "-F#", 80, 110, NOTESEQUENCE);
  EXPECT_TRUE(surface.opsOf(SurfaceOp::Kind::Ellipse).empty());
  const auto texts = surface.opsOf(SurfaceOp::Kind::TextOut);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x, 80 - 10);
  EXPECT_EQ(texts[0].y, 110);
  EXPECT_EQ(texts[0].textColour, GREEN);
}

TEST(DisplayNote, StepNumbersEndAtTheSamePlaceWhateverTheirLength) {
  RecordingSurface surface;
  surface.setTextColor(rgb(1, 2, 3));
  displayNote(surface, "1 :", 30, 50, SEQINDEX);
  displayNote(surface, "15 :", 30, 470, SEQINDEX);
  const auto texts = surface.opsOf(SurfaceOp::Kind::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].x + 30, 51);
  EXPECT_EQ(texts[1].x + 40, 51);
  EXPECT_EQ(texts[1].y, 470);
  // The caller's colour stays.
  EXPECT_EQ(surface.opsOf(SurfaceOp::Kind::TextColor).size(), 1u);
  EXPECT_EQ(texts[0].textColour, rgb(1, 2, 3));
}

TEST(DisplayNote, StepNumberLeftEdgeIsComputedInFloatingPointAndTruncatedTowardZero) {
  RecordingSurface surface;
  displayNote(surface, "1 :", 31, 0, SEQINDEX);   // 52.7 - 30 = 22.7
  displayNote(surface, "1 :", -11, 0, SEQINDEX);  // -18.7 - 30 = -48.7
  const auto texts = surface.opsOf(SurfaceOp::Kind::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].x, 22);
  EXPECT_EQ(texts[1].x, -48);
}

}  // namespace
}  // namespace brenavo
