// The selection commands, on the program as it starts, seen through the recording fakes.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "selection/commands.h"

namespace brenavo {
namespace {

enum KindField { CHROMATIC, DIATONIC, PENTATONIC, WHOLE_TONE, CHORD, CIRCLE };

// The six kinds in that order, the row, the step count and the format with its index.
std::vector<int32_t> selectionOf(const SelectionState& s) {
  return {s.chromaticSel, s.diatonicSel, s.pentatonicSel, s.wholeToneSel, s.chordSel,
          s.circleSel,    s.scpIndex,    s.scaleSteps,    s.formatSel,    s.formatSel2};
}

class SelectionCommands : public ::testing::Test {
 protected:
  // A taken command refreshes the status bar and repaints the window.
  void run(int id) {
    fake.statusTexts.clear();
    const int invalidations = fake.invalidations;
    ASSERT_TRUE(handleSelectionCommand(*program, id)) << id;
    EXPECT_TRUE(fake.statusTexts.contains(1)) << id;
    EXPECT_EQ(fake.invalidations, invalidations + 1) << id;
  }
  void expectIgnored(int id) {
    fake.clearLog();
    const std::vector<int32_t> before = selectionOf(sel);
    EXPECT_FALSE(handleSelectionCommand(*program, id)) << id;
    EXPECT_TRUE(fake.log.empty()) << id;
    EXPECT_EQ(selectionOf(sel), before) << id;
  }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
  SelectionState& sel = program->sel;
};

// Each command in turn, and the selection it leaves: the kind (holding the command, or 1 for
// the chromatic scale, or the diatonic scale of the row), row, steps, format and pentatonic
// family. Diatonic rows list 15 single notes (8 in sixths), blues scales 13. A format lists
// the diatonic scale of the current row; every other kind keeps the format but the chromatic
// scale. After a chord type, a progression or the chromatic scale the row may lie past the 24
// rows of a format: a format then takes the first row.
TEST_F(SelectionCommands, EachCommandSelectsItsKindRowStepsAndFormat) {
  struct Step { int id; KindField kind; int row, steps, format, pentType = 0; };
  const Step script[] = {
      {226, DIATONIC, 16, 15, 201},  {202, DIATONIC, 16, 15, 202}, {203, DIATONIC, 16, 8, 203},
      {212, DIATONIC, 2, 8, 203},    {414, CIRCLE, 14, 4, 203},    {201, DIATONIC, 14, 15, 201},
      {222, DIATONIC, 12, 15, 201},  {233, DIATONIC, 23, 15, 201},
      {234, PENTATONIC, 0, 11, 201}, {245, PENTATONIC, 11, 11, 201},
      {246, PENTATONIC, 0, 11, 201, 1}, {269, PENTATONIC, 11, 13, 201, 2},
      {270, WHOLE_TONE, 0, 13, 201}, {303, CHORD, 3, 12, 201},     {202, DIATONIC, 3, 15, 202},
      {310, CHORD, 10, 12, 202},     {203, DIATONIC, 10, 8, 203},   {300, CHORD, 0, 12, 203},
      {400, CIRCLE, 0, 3, 203},      {411, CIRCLE, 11, 3, 203},    {412, CIRCLE, 12, 4, 203},
      {435, CIRCLE, 35, 4, 203},     {202, DIATONIC, 0, 15, 202},  {240, PENTATONIC, 6, 11, 202},
      {271, WHOLE_TONE, 1, 13, 202}, {430, CIRCLE, 30, 4, 202},    {204, CHROMATIC, 30, 13, 201},
      {203, DIATONIC, 0, 8, 203},    {407, CIRCLE, 7, 3, 203},     {201, DIATONIC, 7, 15, 201},
      {202, DIATONIC, 7, 15, 202}};
  sel.vPos = 7, sel.scalePoint = 5;  // the tempo and where playback stands are left alone
  for (const Step& step : script) {
    std::vector<int32_t> expected = {0, 0, 0, 0, 0, 0, step.row, step.steps, step.format,
                                     step.format - IDM_SCALE_NOTES};
    expected[step.kind] =
        step.kind == CHROMATIC ? 1 : step.kind == DIATONIC ? IDM_SCALE_1 + step.row : step.id;
    run(step.id);
    EXPECT_EQ(selectionOf(sel), expected) << "after " << step.id;
    if (step.kind == PENTATONIC) {
      EXPECT_EQ(sel.pentType, step.pentType) << step.id;
    }
  }
  EXPECT_EQ((std::pair{sel.vPos, sel.scalePoint}), (std::pair{7, 5}));
}

// Other ids and every selection while a run plays or is paused (the sequencer reads the
// pattern) change nothing and request nothing.
TEST_F(SelectionCommands, OtherIdsAndSelectionsDuringARunChangeNothing) {
  for (int id : {0, 101, 110, 111, 200, 205, 209, 272, 299, 311, 399, 436, 501, 601,
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
