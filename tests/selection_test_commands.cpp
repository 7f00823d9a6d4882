#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "selection/commands.h"

namespace brenavo {
namespace {

// Records every message the program sends itself into the fake's log.
int32_t recordSentMessage(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto& fake = dynamic_cast<fakes::RecordingPlatform&>(program.os.window);
  fake.log.push_back("send " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                     std::to_string(lParam));
  return 0;
}

const std::vector<std::string> kRefreshThenRepaint = {"send 273 12346 99999", "window.invalidate"};

struct Kinds {
  int32_t chromatic, diatonic, pentatonic, wholeTone, chord, circle;
  bool operator==(const Kinds&) const = default;
};

Kinds kindsOf(const SelectionState& s) {
  return {s.chromaticSel, s.diatonicSel, s.pentatonicSel, s.wholeToneSel, s.chordSel, s.circleSel};
}

class SelectionCommands : public ::testing::Test {
 protected:
  SelectionCommands() { program.windowProc = recordSentMessage; }

  void run(int id) {
    fake.clearLog();
    ASSERT_TRUE(handleSelectionCommand(program, id)) << id;
    EXPECT_EQ(fake.log, kRefreshThenRepaint) << id;
  }

  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  SelectionState& sel = program.sel;
};

TEST_F(SelectionCommands, FormatsChangeTheListingOfTheCurrentDiatonicScale) {
  run(211);  // C major in G-C-F
  run(IDM_SCALE_THIRDS);
  EXPECT_EQ(sel.formatSel, 202);
  EXPECT_EQ(sel.formatSel2, 1);
  EXPECT_EQ(sel.diatonicSel, 211);
  EXPECT_EQ(sel.scpIndex, 1);
  EXPECT_EQ(sel.scaleSteps, 15);
  run(IDM_SCALE_SIXTHS);
  EXPECT_EQ(sel.scaleSteps, 8);
  EXPECT_EQ(sel.formatSel2, 2);
  run(IDM_SCALE_NOTES);
  EXPECT_EQ(sel.scaleSteps, 15);
  EXPECT_EQ(sel.formatSel2, 0);
}

TEST_F(SelectionCommands, ChromaticResetsTheFormatAndKeepsTheRow) {
  run(213);
  run(IDM_SCALE_SIXTHS);
  run(IDM_SCALE_CHROMATIC);
  EXPECT_EQ(kindsOf(sel), (Kinds{1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(sel.formatSel, 201);
  EXPECT_EQ(sel.formatSel2, 0);
  EXPECT_EQ(sel.scpIndex, 3);
  EXPECT_EQ(sel.scaleSteps, 13);
  run(224);  // a minor scale afterwards is listed in single notes
  EXPECT_EQ(sel.scaleSteps, 15);
  EXPECT_EQ(sel.scpIndex, 14);
}

TEST_F(SelectionCommands, OnlyFormatAndChromaticCommandsTouchTheFormat) {
  run(IDM_SCALE_SIXTHS);
  for (int id : {305, 270, 240, 420}) {
    run(id);
    EXPECT_EQ(sel.formatSel, 203) << id;
    EXPECT_EQ(sel.formatSel2, 2) << id;
  }
  run(212);
  EXPECT_EQ(sel.scaleSteps, 8);
}

TEST_F(SelectionCommands, PentatonicFamiliesSplitTheirRange) {
  struct Case { int id, pentType, row; };
  for (Case c : {Case{234, 0, 0}, Case{245, 0, 11}, Case{246, 1, 0}, Case{257, 1, 11},
                 Case{258, 2, 0}, Case{269, 2, 11}}) {
    run(c.id);
    EXPECT_EQ(sel.pentatonicSel, c.id);
    EXPECT_EQ(sel.pentType, c.pentType) << c.id;
    EXPECT_EQ(sel.scpIndex, c.row) << c.id;
    EXPECT_EQ(sel.scaleSteps, 11) << c.id;
  }
}

TEST_F(SelectionCommands, ProgressionsHaveThreeOrFourChords) {
  struct Case { int id, row, steps; };
  for (Case c : {Case{400, 0, 3}, Case{411, 11, 3}, Case{412, 12, 4}, Case{423, 23, 4},
                 Case{424, 24, 4}, Case{435, 35, 4}}) {
    run(c.id);
    EXPECT_EQ(kindsOf(sel), (Kinds{0, 0, 0, 0, 0, c.id}));
    EXPECT_EQ(sel.scpIndex, c.row) << c.id;
    EXPECT_EQ(sel.scaleSteps, c.steps) << c.id;
  }
}

TEST_F(SelectionCommands, EveryAcceptedIdSelectsExactlyItsKindAndRow) {
  struct Range { int first, last, base, steps; Kinds (*kinds)(int); };
  const Range ranges[] = {
      {210, 226, 210, 0, [](int id) { return Kinds{0, id, 0, 0, 0, 0}; }},
      {270, 271, 270, 13, [](int id) { return Kinds{0, 0, 0, id, 0, 0}; }},
      {300, 310, 300, 12, [](int id) { return Kinds{0, 0, 0, 0, id, 0}; }}};
  for (const Range& range : ranges) {
    for (int id = range.first; id <= range.last; ++id) {
      run(IDM_SCALE_CHROMATIC);
      run(id);
      EXPECT_EQ(kindsOf(sel), range.kinds(id)) << id;
      EXPECT_EQ(sel.scpIndex, id - range.base) << id;
      // Filled diatonic rows have 15 single notes; placeholder rows 5-11 keep 8.
      const int diatonicSteps = (id - 210 <= 4 || id >= 222) ? 15 : 8;
      EXPECT_EQ(sel.scaleSteps, range.steps ? range.steps : diatonicSteps) << id;
    }
  }
}

TEST_F(SelectionCommands, DirectionDoesNotChangeTheStepCount) {
  for (int direction = 0; direction < 3; ++direction) {
    sel.direcSel = IDRB_OUT + direction;
    sel.direcSel2 = direction;
    run(IDM_SCALE_THIRDS);
    run(226);
    EXPECT_EQ(sel.scaleSteps, 15);
    run(IDM_SCALE_SIXTHS);
    EXPECT_EQ(sel.scaleSteps, 8);
  }
}

TEST_F(SelectionCommands, OtherIdsChangeNothingAndRequestNothing) {
  run(306);
  const std::vector<int> ignored = {0,   101, 102, 103, 110, 111, 200, 205, 209, 227, 230, 233,
                                    272, 299, 311, 399, 436, 501, 504, 601, 801, 12345, 12346};
  for (int id : ignored) {
    fake.clearLog();
    SelectionState before = sel;
    EXPECT_FALSE(handleSelectionCommand(program, id)) << id;
    EXPECT_TRUE(fake.log.empty()) << id;
    EXPECT_EQ(kindsOf(sel), kindsOf(before)) << id;
    EXPECT_EQ(sel.scpIndex, before.scpIndex) << id;
    EXPECT_EQ(sel.scaleSteps, before.scaleSteps) << id;
    EXPECT_EQ(sel.formatSel, before.formatSel) << id;
  }
}

TEST_F(SelectionCommands, SelectionLeavesPlaybackStateAlone) {
  sel.scalePoint = 5;
  sel.ctrlLoop = 1;
  sel.vPos = 7;
  run(402);
  run(IDM_SCALE_THIRDS);
  EXPECT_EQ(sel.scalePoint, 5);
  EXPECT_EQ(sel.ctrlLoop, 1);
  EXPECT_EQ(sel.vPos, 7);
}

// After a chord type or progression the row index may name a placeholder row or lie past
// the 24 rows of a format: the format command then falls back to the first major scale.
TEST_F(SelectionCommands, FormatAfterAnUnfilledRowTakesTheFirstMajorScale) {
  struct Case { int before, format, steps; };
  for (Case c : {Case{310, 202, 15}, Case{435, 203, 8}, Case{407, 201, 15}, Case{218, 202, 15},
                 Case{IDM_SCALE_CHROMATIC, 203, 8}}) {
    if (c.before == IDM_SCALE_CHROMATIC) sel.scpIndex = 30;
    run(c.before);
    run(c.format);
    EXPECT_EQ(kindsOf(sel), (Kinds{0, 210, 0, 0, 0, 0})) << c.before;
    EXPECT_EQ(sel.scpIndex, 0) << c.before;
    EXPECT_EQ(sel.formatSel, c.format) << c.before;
    EXPECT_EQ(sel.scaleSteps, c.steps) << c.before;
  }
}

TEST_F(SelectionCommands, FormatAfterAFilledRowKeepsThatRow) {
  run(414);  // harmonic circle row 14: D minor is a filled diatonic row
  run(IDM_SCALE_SIXTHS);
  EXPECT_EQ(kindsOf(sel), (Kinds{0, 224, 0, 0, 0, 0}));
  EXPECT_EQ(sel.scpIndex, 14);
  EXPECT_EQ(sel.scaleSteps, 8);
  run(303);
  run(IDM_SCALE_THIRDS);
  EXPECT_EQ(sel.diatonicSel, 213);
  EXPECT_EQ(sel.scaleSteps, 15);
}

}  // namespace
}  // namespace brenavo
