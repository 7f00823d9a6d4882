// The selection commands driving the selection state, seen through the recording fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "selection/commands.h"

namespace brenavo {
namespace {

using Kind = int32_t SelectionState::*;
constexpr Kind CHROMATIC = &SelectionState::chromaticSel, DIATONIC = &SelectionState::diatonicSel,
               PENTATONIC = &SelectionState::pentatonicSel,
               WHOLE_TONE = &SelectionState::wholeToneSel, CHORD = &SelectionState::chordSel,
               CIRCLE = &SelectionState::circleSel;

// Records every message the program sends itself into the fake's log.
int32_t recordSentMessage(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto& fake = dynamic_cast<fakes::RecordingPlatform&>(program.os.window);
  fake.log.push_back("send " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                     std::to_string(lParam));
  return 0;
}

std::vector<int32_t> allFields(const SelectionState& s) {
  return {s.keySel,       s.keySel2,    s.direcSel,    s.direcSel2,     s.midiVoice,
          s.formatSel,    s.formatSel2, s.pentType,    s.chromaticSel,  s.diatonicSel,
          s.pentatonicSel, s.wholeToneSel, s.chordSel, s.circleSel,     s.scpIndex,
          s.scaleSteps,   s.scalePoint, s.vPos,        s.ctrlPlay,      s.ctrlLoop,
          s.ctrlPause,    s.midiDevExists};
}

class SelectionCommands : public ::testing::Test {
 protected:
  SelectionCommands() { program.windowProc = recordSentMessage; }

  // A taken command asks for the status bar refresh, then repaints the window.
  void run(int id) {
    fake.clearLog();
    ASSERT_TRUE(handleSelectionCommand(program, id)) << id;
    EXPECT_EQ(fake.log, (std::vector<std::string>{"send 273 12346 99999", "window.invalidate"}))
        << id;
  }
  void expectIgnored(int id) {
    fake.clearLog();
    const std::vector<int32_t> before = allFields(sel);
    EXPECT_FALSE(handleSelectionCommand(program, id)) << id;
    EXPECT_TRUE(fake.log.empty()) << id;
    EXPECT_EQ(allFields(sel), before) << id;
  }
  // Exactly one kind is set, to `value`, on `row` with `steps` steps.
  void expectSelected(Kind kind, int32_t value, int32_t row, int32_t steps) {
    for (Kind k : {CHROMATIC, DIATONIC, PENTATONIC, WHOLE_TONE, CHORD, CIRCLE})
      EXPECT_EQ(sel.*k, k == kind ? value : 0);
    EXPECT_EQ(sel.scpIndex, row);
    EXPECT_EQ(sel.scaleSteps, steps);
  }

  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  SelectionState& sel = program.sel;
};

TEST_F(SelectionCommands, EveryRangeSelectsItsKindRowAndSteps) {
  struct Case { int id; Kind kind; int row, steps, pentType; };
  const Case cases[] = {
      // Filled diatonic rows have 15 single notes; placeholder rows 5-11 keep 8.
      {210, DIATONIC, 0, 15, 0},    {214, DIATONIC, 4, 15, 0},    {215, DIATONIC, 5, 8, 0},
      {221, DIATONIC, 11, 8, 0},    {222, DIATONIC, 12, 15, 0},   {226, DIATONIC, 16, 15, 0},
      {234, PENTATONIC, 0, 11, 0},  {245, PENTATONIC, 11, 11, 0}, {246, PENTATONIC, 0, 11, 1},
      {257, PENTATONIC, 11, 11, 1}, {258, PENTATONIC, 0, 11, 2},  {269, PENTATONIC, 11, 11, 2},
      {270, WHOLE_TONE, 0, 13, 0},  {271, WHOLE_TONE, 1, 13, 0},  {300, CHORD, 0, 12, 0},
      {310, CHORD, 10, 12, 0},      {400, CIRCLE, 0, 3, 0},       {411, CIRCLE, 11, 3, 0},
      {412, CIRCLE, 12, 4, 0},      {435, CIRCLE, 35, 4, 0}};
  sel.scalePoint = 5, sel.vPos = 7, sel.ctrlLoop = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    run(IDM_SCALE_CHROMATIC);
    run(c.id);
    expectSelected(c.kind, c.id, c.row, c.steps);
    if (c.kind == PENTATONIC) {
      EXPECT_EQ(sel.pentType, c.pentType);
    }
  }
  // Choosing what to play leaves the tempo and where playback stands alone.
  EXPECT_EQ((std::vector<int32_t>{sel.scalePoint, sel.vPos, sel.ctrlLoop}),
            (std::vector<int32_t>{5, 7, 1}));
}

TEST_F(SelectionCommands, FormatsRelistTheCurrentDiatonicRowInEveryDirection) {
  struct Case { int format, index, steps; };
  for (int direction = 0; direction < 3; ++direction) {
    sel.direcSel = IDRB_OUT + direction, sel.direcSel2 = direction;
    run(226);
    for (Case c : {Case{202, 1, 15}, Case{203, 2, 8}, Case{201, 0, 15}}) {
      SCOPED_TRACE(std::to_string(direction) + " " + std::to_string(c.format));
      run(c.format);
      EXPECT_EQ(sel.formatSel, c.format);
      EXPECT_EQ(sel.formatSel2, c.index);
      expectSelected(DIATONIC, 226, 16, c.steps);
    }
  }
}

TEST_F(SelectionCommands, OnlyChromaticResetsTheFormat) {
  run(213);
  run(IDM_SCALE_SIXTHS);
  run(212);
  EXPECT_EQ(sel.scaleSteps, 8) << "a diatonic scale keeps the format";
  for (int id : {305, 270, 240, 420}) {
    run(id);
    EXPECT_EQ(sel.formatSel, 203) << id;
    EXPECT_EQ(sel.formatSel2, 2) << id;
  }
  run(IDM_SCALE_CHROMATIC);
  expectSelected(CHROMATIC, 1, 20, 13);  // the row of the progression stays
  EXPECT_EQ(sel.formatSel, 201);
  EXPECT_EQ(sel.formatSel2, 0);
  run(224);
  EXPECT_EQ(sel.scaleSteps, 15) << "listed in single notes";
}

// After a chord type, a progression or the chromatic scale the row may name a placeholder
// row or lie past the 24 rows of a format: the format command then takes the first row.
TEST_F(SelectionCommands, AFormatAfterAnUnfilledRowSelectsRowZero) {
  struct Case { std::vector<int> before; int format, row, steps; };
  const Case cases[] = {{{310}, 202, 0, 15},      {{435}, 203, 0, 8},  {{407}, 201, 0, 15},
                        {{218}, 202, 0, 15},      {{430, 204}, 203, 0, 8},
                        {{414}, 203, 14, 8},  // D minor: a filled row is kept
                        {{303}, 202, 3, 15}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.front());
    for (int id : c.before) run(id);
    run(c.format);
    expectSelected(DIATONIC, IDM_SCALE_1 + c.row, c.row, c.steps);
    EXPECT_EQ(sel.formatSel, c.format);
  }
}

// Other ids, and every selection while a run plays or is paused (the sequencer reads the
// pattern), change nothing and request nothing.
TEST_F(SelectionCommands, OtherIdsAndSelectionsDuringARunChangeNothing) {
  run(306);
  for (int id : {0, 101, 110, 111, 200, 205, 209, 227, 233, 272, 299, 311, 399, 436, 501, 601,
                 801, 12345, 12346})
    expectIgnored(id);
  for (int32_t SelectionState::*flag : {&SelectionState::ctrlPlay, &SelectionState::ctrlPause}) {
    sel.*flag = 1;
    for (int id : {201, 203, 204, 211, 240, 271, 300, 420}) expectIgnored(id);
    sel.*flag = 0;
  }
}

}  // namespace
}  // namespace brenavo
