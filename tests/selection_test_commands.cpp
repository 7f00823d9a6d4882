// Each selection command leaves its kind (holding the command, 1 for the chromatic scale, the
// row's diatonic scale), row, steps (a diatonic row 15 single notes, 8 in sixths), format and
// family. A format lists the current row's diatonic scale, but after a chord type, a progression
// or the chromatic scale (which takes single notes) the row may lie past a format's 24 rows or
// name a placeholder: it then takes the first. Other ids, the greyed diatonic rows (215-221),
// and selections while a run plays or is paused change nothing and request nothing.
#include <gtest/gtest.h>

#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "selection/commands.h"

using namespace brenavo;

enum Kind { CHR, DIA, PEN, WT, CHO, CIR };  // chromatic, diatonic, pentatonic, whole-tone...

// The six kinds in that order, row, steps, format and its index, pentatonic family, tempo, where
// playback stands, and the repaints and scale status texts requested since the log was cleared.
static std::vector<ptrdiff_t> seen(const SelectionState& s, const fakes::RecordingPlatform& fake) {
  return {s.chromaticSel, s.diatonicSel, s.pentatonicSel, s.wholeToneSel, s.chordSel, s.circleSel,
          s.scpIndex, s.scaleSteps, s.formatSel, s.formatSel2, s.pentType, s.vPos, s.scalePoint,
          std::ssize(fake.logOf("window.invalidate")), std::ssize(fake.logOf("status.text 1"))};
}

TEST(SelectionCommands, EachCommandSelectsItsKindRowStepsAndFormatOrNothing) {
  fakes::RecordingPlatform fake;
  const auto program = CreateMainWindow(fake.services());
  const int script[][6] = {  // id, kind, row, steps, format, family
      {226, DIA, 16, 15, 0, 0}, {202, DIA, 16, 15, 1, 0}, {203, DIA, 16, 8, 2, 0},
      {212, DIA, 2, 8, 2, 0},   {414, CIR, 14, 4, 2, 0},  {201, DIA, 14, 15, 0, 0},
      {222, DIA, 12, 15, 0, 0}, {234, PEN, 0, 11, 0, 0},  {245, PEN, 11, 11, 0, 0},
      {246, PEN, 0, 11, 0, 1},  {269, PEN, 11, 13, 0, 2}, {270, WT, 0, 13, 0, 2},
      {303, CHO, 3, 12, 0, 2},  {202, DIA, 3, 15, 1, 2},  {310, CHO, 10, 12, 1, 2},
      {203, DIA, 10, 8, 2, 2},  {300, CHO, 0, 12, 2, 2},  {400, CIR, 0, 3, 2, 2},
      {411, CIR, 11, 3, 2, 2},  {412, CIR, 12, 4, 2, 2},  {435, CIR, 35, 4, 2, 2},
      {202, DIA, 0, 15, 1, 2},  {240, PEN, 6, 11, 1, 0},  {271, WT, 1, 13, 1, 0},
      {430, CIR, 30, 4, 1, 0},  {204, CHR, 30, 13, 0, 0}, {203, DIA, 0, 8, 2, 0},
      {407, CIR, 7, 3, 2, 0},   {201, DIA, 7, 15, 0, 0},  {202, DIA, 7, 15, 1, 0},
      {218, DIA, 8, 15, 1, 0},  {233, DIA, 23, 15, 1, 0}};
  program->sel.vPos = 7, program->sel.scalePoint = 5;  // left alone
  for (const auto& [id, kind, row, steps, format, family] : script) {
    std::vector<ptrdiff_t> expected = {0, 0, 0, 0, 0, 0, row, steps, IDM_SCALE_NOTES + format,
                                       format, family, 7, 5, 1, 1};
    expected[kind] = kind == CHR ? 1 : kind == DIA ? IDM_SCALE_1 + row : id;
    fake.log.clear();
    ASSERT_TRUE(handleSelectionCommand(*program, id)) << id;
    EXPECT_EQ(seen(program->sel, fake), expected) << "after " << id;
  }
  fake.log.clear();
  const std::vector<ptrdiff_t> before = seen(program->sel, fake);
  const std::vector<int> others = {0,   101, 110, 111, 200, 205, 209, 272, 299,
                                   311, 399, 436, 501, 601, 801, 12345, 12346},
                         selections = {201, 203, 204, 211, 240, 271, 300, 420};
  for (int state : {0, 1, 2}) {  // stopped, playing, paused
    program->sel.ctrlPlay = state == 1, program->sel.ctrlPause = state == 2;
    for (int id : state ? selections : others) EXPECT_FALSE(handleSelectionCommand(*program, id));
  }
  EXPECT_TRUE(fake.log.empty());
  EXPECT_EQ(seen(program->sel, fake), before);
}
