// Playback driven by messages, as the window delivers them: the transport commands, the
// timer and the tempo scroll bar, checked message by message and tick by tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/geometry.h"
#include "display/painting.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "playback/sequencer.h"
#include "playback/transport.h"
#include "selection/menus.h"

namespace brenavo {
namespace {

using fakes::RecordingPlatform;
using fakes::SurfaceOp;
using platform::rgb;

constexpr platform::Colour YELLOW = rgb(255, 255, 0);

// The part of the window procedure that routes playback messages.
int32_t routePlayback(Program& program, uint32_t message, uintptr_t wParam, intptr_t) {
  const int id = static_cast<int>(wParam & 0xFFFF);
  switch (message) {
    case WM_COMMAND:
      if ((id >= IDPB_PLAY && id <= IDPB_STOP) || (id >= IDM_SPEED_PLUS_5 && id <= IDM_SPEED_MIN_25))
        handleTransportCommand(program, id);
      break;
    case WM_TIMER: handlePlaybackTimer(program); break;
    case WM_VSCROLL: handleVScroll(program, wParam); break;
    default: break;
  }
  return 0;
}

uint32_t on(int note) { return 0x7F0090u | static_cast<uint32_t>(note) << 8; }
uint32_t off(int note) { return 0x80u | static_cast<uint32_t>(note) << 8; }

// The major scale climbing from a tonic: tone, tone, semitone, tone, tone, tone, semitone.
std::vector<int> majorScale(int tonic, int notes) {
  static const int steps[7] = {2, 2, 1, 2, 2, 2, 1};
  std::vector<int> scale{tonic};
  for (int i = 1; i < notes; ++i) scale.push_back(scale.back() + steps[(i - 1) % 7]);
  return scale;
}

// The bounding box of the circle drawn around a button centred on (x, y).
struct Box {
  int left, top, right, bottom;
  bool operator==(const Box&) const = default;
};
Box circleAt(int x, int y) { return {x - 20, y - 20, x + 20, y + 20}; }

class Playback : public ::testing::Test {
 protected:
  Playback() {
    program.windowProc = routePlayback;
    program.menu = makeMainMenu();
    createButtonXYs(program);
    createDrawingResources(program);
    program.sel.midiDevExists = 1;
    selectDiatonic(IDM_SCALE_NOTES, 15);
    fake.clearLog();
    fake.dcOps.clear();
  }

  // The selection as the diatonic commands leave it: G major (row 0), pull.
  void selectDiatonic(int formatSel, int steps) {
    clearKinds();
    program.sel.diatonicSel = IDM_SCALE_1;
    program.sel.scpIndex = 0;
    program.sel.formatSel = formatSel;
    program.sel.formatSel2 = formatSel - IDM_SCALE_NOTES;
    program.sel.scaleSteps = steps;
  }
  void selectProgression(int row) {
    clearKinds();
    program.sel.circleSel = IDM_PROG_TRIAD_1 + row;
    program.sel.scpIndex = row;
    program.sel.scaleSteps = row < 12 ? COLS_PROGS_3 : COLS_PROGS_4;
  }
  void selectChordType(int type) {
    clearKinds();
    program.sel.chordSel = IDM_CHORDS_MAJOR + type;
    program.sel.scpIndex = type;
    program.sel.scaleSteps = COLS_CHORDS;
  }
  void clearKinds() {
    SelectionState& sel = program.sel;
    sel.chromaticSel = sel.diatonicSel = sel.pentatonicSel = sel.wholeToneSel = sel.chordSel =
        sel.circleSel = 0;
  }

  void command(int id) { SendCommand(program, id); }
  void tick() { SendMessage(program, WM_TIMER, IDM_PLAY_TIMER, 0); }
  void scroll(int code, int thumb = 0) {
    SendMessage(program, WM_VSCROLL, static_cast<uintptr_t>(code | thumb << 16), 0);
  }
  // Ticks until the run is over; returns how many it took.
  int tickToEnd() {
    int ticks = 0;
    while (program.sel.ctrlPlay && ticks < 100) {
      tick();
      ++ticks;
    }
    return ticks;
  }

  // MIDI messages since the last call.
  std::vector<uint32_t> midi() {
    std::vector<uint32_t> sent = fake.midiMessages;
    fake.midiMessages.clear();
    return sent;
  }
  // Circles drawn since the last call, with the fill each had.
  std::vector<std::pair<Box, platform::Colour>> circles() {
    std::vector<std::pair<Box, platform::Colour>> drawn;
    for (const SurfaceOp& op : fake.dcOps)
      if (op.kind == SurfaceOp::Kind::Ellipse)
        drawn.push_back({{op.x, op.y, op.x2, op.y2}, op.brush.colour});
    fake.dcOps.clear();
    return drawn;
  }
  std::pair<Box, platform::Colour> white(int position) { return {circleOf(position), platform::WHITE}; }
  std::pair<Box, platform::Colour> yellow(int position) { return {circleOf(position), YELLOW}; }
  Box circleOf(int position) { return circleAt(buttonX(program, position), buttonY(program, position)); }

  bool menuBarGreyed() const {
    return std::all_of(program.menu.items.begin(), program.menu.items.end(),
                       [](const MenuItem& item) { return item.grayed; });
  }
  bool menuBarEnabled() const {
    return std::none_of(program.menu.items.begin(), program.menu.items.end(),
                        [](const MenuItem& item) { return item.grayed; });
  }
  bool logged(const std::string& line) const {
    return std::find(fake.log.begin(), fake.log.end(), line) != fake.log.end();
  }

  RecordingPlatform fake;
  Program program{fake.services()};
};

// ---- a whole run -------------------------------------------------------------------------

TEST_F(Playback, ADiatonicRunSoundsFifteenNotesThenReleasesThenStops) {
  const std::vector<int> gMajor = majorScale(55, 15);  // -G up two octaves to g

  command(IDPB_PLAY);
  EXPECT_EQ(fake.focus, IDPB_PLAY);
  EXPECT_TRUE(menuBarGreyed());
  EXPECT_TRUE(fake.timerRunning);
  EXPECT_EQ(fake.timerId, IDM_PLAY_TIMER);
  EXPECT_EQ(fake.timerPeriod, 250);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{on(gMajor[0])}));

  for (int step = 1; step < 15; ++step) {
    tick();
    SCOPED_TRACE(step);
    EXPECT_EQ(midi(), (std::vector<uint32_t>{off(gMajor[step - 1]), on(gMajor[step])}));
  }

  tick();  // the 15th tick only releases
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(79)}));
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_EQ(program.sel.ctrlPlay, 1);
  EXPECT_TRUE(menuBarGreyed());

  fake.clearLog();
  tick();  // the 16th ends the run
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(79), off(0), off(0), off(0)}));
  EXPECT_EQ(program.sel.ctrlPlay, 0);
  EXPECT_EQ(program.sel.ctrlPause, 0);
  EXPECT_EQ(program.sel.scalePoint, 16);
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_EQ(fake.focus, IDC_CONTROLS_FRAME);
  EXPECT_TRUE(menuBarEnabled());
  EXPECT_TRUE(logged("window.show"));
  EXPECT_EQ(fake.invalidations, 0);  // the releasing step already took the highlight away
  EXPECT_TRUE(fake.soundingNotes.empty());

  tick();  // a late tick after the end plays nothing
  EXPECT_TRUE(midi().empty());
}

TEST_F(Playback, TheTuningTransposesTheSameButtons) {
  program.sel.keySel2 = 3;  // "A-D-G", two semitones above "G-C-F"
  command(IDPB_PLAY);
  tickToEnd();
  std::vector<int> started;
  for (uint32_t message : fake.midiMessages)
    if ((message & 0xF0) == 0x90) started.push_back(static_cast<int>(message >> 8 & 0x7F));
  EXPECT_EQ(started, majorScale(57, 15));
}

TEST_F(Playback, ThirdsAndSixthsPlayTheFirstVoiceThenTheSecond) {
  struct Case {
    int formatSel, steps, firstDegree, secondDegree;
  };
  // Degrees counted on G major from -G: thirds lie two degrees above the first voice,
  // sixths are the same third taken an octave lower, under a first voice an octave up.
  for (const Case& c : {Case{IDM_SCALE_THIRDS, 15, 0, 2}, Case{IDM_SCALE_SIXTHS, 8, 7, 2}}) {
    SCOPED_TRACE(c.formatSel);
    selectDiatonic(c.formatSel, c.steps);
    const std::vector<int> scale = majorScale(55, 17);
    auto first = [&](int step) { return scale[static_cast<size_t>(step + c.firstDegree)]; };
    auto second = [&](int step) { return scale[static_cast<size_t>(step + c.secondDegree)]; };

    command(IDPB_PLAY);
    EXPECT_EQ(midi(), (std::vector<uint32_t>{on(first(0)), on(second(0))}));
    EXPECT_EQ(circles().size(), 2u);
    for (int step = 1; step < c.steps; ++step) {
      tick();
      SCOPED_TRACE(step);
      EXPECT_EQ(midi(), (std::vector<uint32_t>{off(first(step - 1)), on(first(step)),
                                               off(second(step - 1)), on(second(step))}));
      // The second voice's release comes after the first voice's fill was put back.
      std::vector<platform::Colour> fills;
      for (const auto& circle : circles()) fills.push_back(circle.second);
      EXPECT_EQ(fills, (std::vector<platform::Colour>{platform::WHITE, YELLOW, platform::WHITE,
                                                       YELLOW}));
    }
    tick();
    EXPECT_EQ(midi(), (std::vector<uint32_t>{off(first(c.steps - 1)), off(second(c.steps - 1))}));
    tickToEnd();
    EXPECT_TRUE(fake.soundingNotes.empty());
    midi();
    circles();
  }
}

TEST_F(Playback, ACircleProgressionReleasesWhatTheRowBeforeHeld) {
  selectProgression(12);  // harmonic circle on B: I, vi, ii, V7
  const std::vector<int> tonic{71, 63, 66}, sixth{68, 71, 63}, second{73, 76, 68},
      dominant7{66, 70, 73, 76};
  auto ons = [](const std::vector<int>& notes) {
    std::vector<uint32_t> messages;
    for (int note : notes) messages.push_back(on(note));
    return messages;
  };
  auto offs = [](const std::vector<int>& notes) {
    std::vector<uint32_t> messages;
    for (int note : notes) messages.push_back(off(note));
    return messages;
  };
  auto join = [](std::vector<uint32_t> a, const std::vector<uint32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };

  command(IDPB_PLAY);
  EXPECT_EQ(midi(), ons(tonic));
  tick();
  EXPECT_EQ(midi(), join(offs(tonic), ons(sixth)));
  tick();
  EXPECT_EQ(midi(), join(offs(sixth), ons(second)));
  circles();
  tick();  // three slots released, four attacked, each note right after its circle
  EXPECT_EQ(midi(), join(offs(second), ons(dominant7)));
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{
                           white(22), white(27), white(11), yellow(4), yellow(25), yellow(22),
                           yellow(27)}));
  tick();  // the releasing step counts four slots on the last row
  EXPECT_EQ(midi(), offs(dominant7));
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{white(4), white(25),
                                                                       white(22), white(27)}));
  EXPECT_TRUE(fake.soundingNotes.empty());
  tick();
  EXPECT_EQ(midi(), offs(dominant7));  // the end of the run: all four slots again
  EXPECT_EQ(program.sel.ctrlPlay, 0);
}

TEST_F(Playback, ChromaticAndWholeToneScalesClimbBySemitonesAndTones) {
  for (int tuning = 0; tuning < 3; ++tuning) {  // "A-D-G" starts an octave up, on c
    SCOPED_TRACE(tuning);
    clearKinds();
    program.sel.chromaticSel = 1;
    program.sel.keySel2 = tuning;
    program.sel.scaleSteps = COLS_CHROMATIC;
    command(IDPB_PLAY);
    tickToEnd();
    std::vector<uint32_t> expected;
    for (int note = 60; note <= 72; ++note) {
      if (note > 60) expected.push_back(off(note - 1));
      expected.push_back(on(note));
    }
    expected.push_back(off(72));
    std::vector<uint32_t> sent = midi();
    sent.resize(expected.size());  // the four notes-off of the end follow
    EXPECT_EQ(sent, expected);
  }

  clearKinds();
  program.sel.keySel2 = 0;
  program.sel.wholeToneSel = IDM_SCALE_WT0;
  program.sel.scpIndex = 0;
  program.sel.scaleSteps = COLS_WHOLETONE;
  command(IDPB_PLAY);
  tickToEnd();
  std::vector<int> started;
  for (uint32_t message : midi())
    if ((message & 0xF0) == 0x90) started.push_back(static_cast<int>(message >> 8 & 0x7F));
  ASSERT_EQ(started.size(), 13u);
  EXPECT_EQ(started.front(), 60);
  for (size_t i = 1; i < started.size(); ++i)
    EXPECT_EQ(((started[i] - started[i - 1]) % 12 + 12) % 12, 2) << "step " << i;
  EXPECT_TRUE(fake.soundingNotes.empty());
}

TEST_F(Playback, ANewRunReleasesNothingOfTheOneBefore) {
  command(IDPB_PLAY);
  tickToEnd();
  midi();
  circles();
  command(IDPB_PLAY);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{on(55)}));
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{yellow(34)}));
}

TEST_F(Playback, APentatonicSelectionRunsSilentlyThroughItsSteps) {
  clearKinds();
  program.sel.pentatonicSel = IDM_SCALE_PENT_1;
  program.sel.scaleSteps = PENT_STEPS;
  command(IDPB_PLAY);
  EXPECT_EQ(tickToEnd(), PENT_STEPS + 1);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(0), off(0), off(0), off(0)}));
  EXPECT_TRUE(circles().empty());
}

// ---- drawing ------------------------------------------------------------------------------

TEST_F(Playback, TheStepHighlightsInYellowAndRestoresInWhiteOnTheButtons) {
  command(IDPB_PLAY);
  // -G on the push side, first column, second row.
  EXPECT_EQ(circleOf(34), (Box{610, 77, 650, 117}));
  std::vector<SurfaceOp> ops = fake.dcOps;
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{yellow(34)}));
  auto label = std::find_if(ops.begin(), ops.end(),
                            [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::TextOut; });
  ASSERT_NE(label, ops.end());
  EXPECT_EQ(label->text, "-G");
  EXPECT_EQ(label->font, program.res.hNotesFont);
  EXPECT_EQ(label->bkMode, platform::TRANSPARENT);
  EXPECT_EQ(label->textColour, rgb(0, 255, 0));  // octave 3
  for (const SurfaceOp& op : ops) {
    if (op.kind == SurfaceOp::Kind::Ellipse) {
      EXPECT_EQ(op.pen, program.res.hButtonOutlinePen);
    }
  }
  // Pen, fill and font go back before the surface is given back.
  ASSERT_GE(ops.size(), 3u);
  EXPECT_EQ(ops.back().kind, SurfaceOp::Kind::SelectFont);
  EXPECT_EQ(ops.back().font, platform::Font{});
  EXPECT_EQ(ops.back().pen, platform::Pen{});
  EXPECT_EQ(ops.back().brush, platform::Brush{});

  tick();  // -G back to white, then -A (pull side, first column) in yellow
  ops = fake.dcOps;
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{white(34), yellow(1)}));
  EXPECT_EQ(circleOf(1), (Box{410, 77, 450, 117}));
  std::vector<std::string> labels;
  for (const SurfaceOp& op : ops)
    if (op.kind == SurfaceOp::Kind::TextOut) labels.push_back(op.text);
  EXPECT_EQ(labels, (std::vector<std::string>{"-G", "-A"}));

  EXPECT_EQ(fake.logOf("window.getDC").size(), 2u);
  EXPECT_EQ(fake.logOf("window.releaseDC").size(), 2u);
}

TEST_F(Playback, WithoutAnOutputTheHighlightsMoveExactlyTheSame) {
  RecordingPlatform silentFake;
  Program silent{silentFake.services()};
  silent.windowProc = routePlayback;
  createButtonXYs(silent);
  createDrawingResources(silent);
  silent.sel = program.sel;
  silent.sel.midiDevExists = 0;
  silentFake.dcOps.clear();

  for (Program* each : {&program, &silent}) {
    SendCommand(*each, IDPB_PLAY);
    SendMessage(*each, WM_TIMER, IDM_PLAY_TIMER, 0);
    SendCommand(*each, IDPB_PAUSE);
    SendCommand(*each, IDPB_PLAY);
    while (each->sel.ctrlPlay) SendMessage(*each, WM_TIMER, IDM_PLAY_TIMER, 0);
    SendCommand(*each, IDPB_STOP);
  }
  EXPECT_FALSE(fake.midiMessages.empty());
  EXPECT_TRUE(silentFake.midiMessages.empty());
  ASSERT_FALSE(fake.dcOps.empty());
  ASSERT_EQ(silentFake.dcOps.size(), fake.dcOps.size());
  for (size_t i = 0; i < fake.dcOps.size(); ++i) {
    const SurfaceOp& loud = fake.dcOps[i];
    const SurfaceOp& quiet = silentFake.dcOps[i];
    EXPECT_TRUE(loud.kind == quiet.kind && loud.x == quiet.x && loud.y == quiet.y &&
                loud.text == quiet.text && loud.brush == quiet.brush)
        << "drawing " << i;
  }
}

// ---- transport ----------------------------------------------------------------------------

TEST_F(Playback, PauseSilencesAndPlayResumesWithTheNextStep) {
  command(IDPB_PLAY);
  tick();
  tick();  // -B (59) sounds
  midi();
  circles();
  fake.clearLog();

  command(IDPB_PAUSE);
  EXPECT_EQ(fake.focus, IDPB_PAUSE);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(59), off(0), off(0), off(0)}));
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_EQ(program.sel.ctrlPause, 1);
  EXPECT_EQ(program.sel.ctrlPlay, 0);
  EXPECT_TRUE(menuBarGreyed());
  EXPECT_EQ(fake.invalidations, 0);  // the paused step stays highlighted
  EXPECT_TRUE(circles().empty());

  tick();  // nothing runs while paused
  EXPECT_TRUE(midi().empty());

  command(IDPB_PAUSE);  // a second pause only moves the focus
  EXPECT_TRUE(midi().empty());
  EXPECT_EQ(program.sel.ctrlPause, 1);

  command(IDPB_PLAY);
  EXPECT_EQ(fake.focus, IDPB_PLAY);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(59), on(60)}));
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{white(12), yellow(2)}));
  EXPECT_TRUE(fake.timerRunning);
  EXPECT_EQ(program.sel.scalePoint, 4);
  EXPECT_EQ(program.sel.ctrlPause, 0);
  EXPECT_EQ(tickToEnd(), 13);
}

TEST_F(Playback, LoopRestartsAfterOneSilentPeriod) {
  command(IDPB_LOOP);
  EXPECT_EQ(fake.focus, IDPB_LOOP);
  EXPECT_EQ(program.sel.ctrlLoop, 1);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{on(55)}));
  for (int step = 1; step < 15; ++step) tick();
  midi();
  tick();  // the last note stops...
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(79)}));
  EXPECT_TRUE(fake.soundingNotes.empty());
  fake.clearLog();
  tick();  // ...and one period later the next run begins
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(79), off(0), off(0), off(0), on(55)}));
  std::vector<std::string> landmarks;
  for (const std::string& line : fake.log)
    if (line.rfind("focus", 0) == 0 || line.rfind("timer", 0) == 0 || line == "window.show")
      landmarks.push_back(line);
  EXPECT_EQ(landmarks, (std::vector<std::string>{"focus 600", "timer.kill 605", "window.show",
                                                 "focus 602", "timer.set 605 250"}));
  EXPECT_TRUE(menuBarGreyed());
  EXPECT_EQ(program.sel.ctrlPlay, 1);
  EXPECT_EQ(program.sel.ctrlLoop, 1);
  EXPECT_EQ(program.sel.scalePoint, 1);
  EXPECT_TRUE(fake.timerRunning);
}

TEST_F(Playback, LoopDuringAPlainRunMakesItRestartAtItsEnd) {
  command(IDPB_PLAY);
  tick();
  fake.clearLog();
  midi();
  command(IDPB_LOOP);  // the Play it sends finds the run going and does nothing
  EXPECT_EQ(program.sel.ctrlLoop, 1);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_TRUE(midi().empty());
  for (int step = 2; step <= 16; ++step) tick();  // steps 2-15, then the end of the run
  EXPECT_EQ(program.sel.ctrlPlay, 1);
  EXPECT_EQ(program.sel.scalePoint, 1);
  EXPECT_EQ(midi().back(), on(55));
}

TEST_F(Playback, PauseDuringALoopClearsTheLoop) {
  command(IDPB_LOOP);
  tick();
  tick();
  command(IDPB_PAUSE);
  EXPECT_EQ(program.sel.ctrlLoop, 0);
  EXPECT_EQ(program.sel.ctrlPause, 1);
  command(IDPB_PLAY);
  EXPECT_EQ(fake.focus, IDPB_PLAY);
  EXPECT_EQ(tickToEnd(), 13);  // plays to its end once and stops
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_TRUE(menuBarEnabled());
  int started = 0;
  for (uint32_t message : midi()) started += (message & 0xF0) == 0x90;
  EXPECT_EQ(started, 15);
  EXPECT_TRUE(fake.soundingNotes.empty());
}

TEST_F(Playback, StopWhilePausedSilencesAgainAndRepaints) {
  command(IDPB_PLAY);
  tick();
  command(IDPB_PAUSE);
  midi();
  fake.clearLog();
  command(IDPB_STOP);
  EXPECT_EQ(fake.focus, IDPB_STOP);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(57), off(0), off(0), off(0)}));
  EXPECT_TRUE(logged("timer.kill 605"));
  EXPECT_EQ(fake.invalidations, 1);
  EXPECT_TRUE(menuBarEnabled());
  const SelectionState& sel = program.sel;
  EXPECT_EQ((std::vector<int>{sel.scalePoint, sel.ctrlPlay, sel.ctrlLoop, sel.ctrlPause}),
            (std::vector<int>{0, 0, 0, 0}));

  fake.clearLog();
  command(IDPB_STOP);  // stopped already: no notes, no timer, but the same repaint
  EXPECT_TRUE(midi().empty());
  EXPECT_FALSE(logged("timer.kill 605"));
  EXPECT_EQ(fake.invalidations, 2);
}

TEST_F(Playback, StopDuringAChordLeavesNothingSounding) {
  selectProgression(17);  // harmonic circle on C, with push chords
  command(IDPB_LOOP);
  tick();
  EXPECT_EQ(fake.soundingNotes.size(), 3u);
  command(IDPB_STOP);
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_EQ(program.sel.ctrlLoop, 0);
}

TEST_F(Playback, PlayWhilePlayingDoesNothingAtAll) {
  command(IDPB_PLAY);
  tick();
  fake.clearLog();
  midi();
  fake.focus = IDPB_STOP;
  command(IDPB_PLAY);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_TRUE(midi().empty());
  EXPECT_EQ(fake.focus, IDPB_STOP);
  EXPECT_EQ(program.sel.scalePoint, 2);
}

// ---- tempo --------------------------------------------------------------------------------

TEST_F(Playback, SpeedKeysStopAtTheEndsAndRestartARunningTimer) {
  command(IDPB_PLAY);
  fake.clearLog();
  command(IDM_SPEED_MIN_5);
  command(IDM_SPEED_MIN_25);
  EXPECT_EQ(program.sel.vPos, 1);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"timer.kill 605", "timer.set 605 250",
                                                "scroll.pos 1", "timer.kill 605",
                                                "timer.set 605 250", "scroll.pos 1"}));

  program.sel.vPos = 18;
  fake.clearLog();
  command(IDM_SPEED_PLUS_25);
  EXPECT_EQ(program.sel.vPos, 20);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"timer.kill 605", "timer.set 605 5000",
                                                "scroll.pos 20"}));
  command(IDM_SPEED_PLUS_5);
  EXPECT_EQ(program.sel.vPos, 20);
  command(IDM_SPEED_MIN_25);
  EXPECT_EQ(program.sel.vPos, 15);
  command(IDM_SPEED_MIN_5);
  EXPECT_EQ(program.sel.vPos, 14);
  command(IDM_SPEED_PLUS_5);
  EXPECT_EQ(program.sel.vPos, 15);
  EXPECT_EQ(fake.timerPeriod, 15 * 250);

  command(IDPB_STOP);
  fake.clearLog();
  command(IDM_SPEED_PLUS_5);  // stopped: only the bar moves
  EXPECT_EQ(fake.log, (std::vector<std::string>{"scroll.pos 16"}));
}

TEST_F(Playback, TheThumbSetsTheTempoWithinTheRange) {
  struct Case {
    int code, thumb, expected;
  };
  program.sel.vPos = 5;
  for (const Case& c : {Case{SB_THUMBTRACK, 7, 7}, Case{SB_THUMBPOSITION, 12, 12},
                        Case{SB_THUMBTRACK, 0, 1}, Case{SB_THUMBPOSITION, 40, 20},
                        Case{SB_THUMBTRACK, 0xFFFF, 20},  // the high word is unsigned
                        Case{SB_ENDSCROLL, 3, 20}, Case{SB_THUMBTRACK, 9, 9},
                        Case{7, 2, 9}}) {  // a code without a rule leaves the tempo
    scroll(c.code, c.thumb);
    EXPECT_EQ(program.sel.vPos, c.expected) << "code " << c.code << " thumb " << c.thumb;
    EXPECT_EQ(fake.scrollPos, c.expected);
  }
  scroll(SB_LINEDOWN, 3);  // a line ignores the thumb word
  EXPECT_EQ(program.sel.vPos, 10);

  command(IDPB_PLAY);
  fake.clearLog();
  scroll(SB_ENDSCROLL);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"timer.kill 605", "timer.set 605 2500",
                                                "scroll.pos 10"}));
}

TEST_F(Playback, AStoredTempoOutsideTheRangeIsBroughtBackByTheFirstScroll) {
  program.sel.vPos = 0;
  command(IDPB_PLAY);
  EXPECT_EQ(fake.timerPeriod, 250);  // never a zero period
  scroll(SB_LINEUP);
  EXPECT_EQ(program.sel.vPos, 1);
  program.sel.vPos = 37;
  scroll(SB_LINEUP);
  EXPECT_EQ(program.sel.vPos, 20);
}

// ---- odd states ---------------------------------------------------------------------------

// Pause between the releasing step and the end of the run, then Play: one more step runs
// with scalePoint past the last step.
TEST_F(Playback, AStepPastTheEndRepeatsTheLastReleaseWithinTheSelection) {
  struct Case {
    const char* name;
    bool progression;
    int index;
    std::vector<int> lastPositions;
    std::vector<int> lastNotes;
  };
  const Case cases[] = {
      // A triad progression: its fourth row is empty and has no terminator.
      {"triads on B", true, 0, {4, 25, 22}, {66, 70, 73}},
      // The last chord type: the row after its last chord would be outside the table.
      {"seventh b5 chords", false, 10, {4, 25, 6, 7}, {66, 70, 72, 76}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.progression)
      selectProgression(c.index);
    else
      selectChordType(c.index);
    command(IDPB_PLAY);
    for (int step = 1; step <= program.sel.scaleSteps; ++step) tick();
    EXPECT_EQ(program.sel.scalePoint, program.sel.scaleSteps + 1);
    command(IDPB_PAUSE);
    midi();
    circles();

    command(IDPB_PLAY);
    std::vector<uint32_t> expectedMidi;
    std::vector<std::pair<Box, platform::Colour>> expectedCircles;
    for (size_t i = 0; i < c.lastNotes.size(); ++i) {
      expectedMidi.push_back(off(c.lastNotes[i]));
      expectedCircles.push_back(white(c.lastPositions[i]));
    }
    EXPECT_EQ(midi(), expectedMidi);
    EXPECT_EQ(circles(), expectedCircles);
    EXPECT_EQ(tickToEnd(), 1);
    EXPECT_TRUE(fake.soundingNotes.empty());
    command(IDPB_STOP);
    midi();
  }

  selectDiatonic(IDM_SCALE_NOTES, 15);  // a single-note kind repeats its release too
  command(IDPB_PLAY);
  for (int step = 1; step <= 15; ++step) tick();
  command(IDPB_PAUSE);
  midi();
  circles();
  command(IDPB_PLAY);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(79)}));
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{white(28)}));
}

TEST_F(Playback, OddSelectionsNeverReachOutsideTheTables) {
  // More steps than the chord type has rows: the extra steps sound nothing.
  selectChordType(0);
  program.sel.scaleSteps = 15;
  command(IDPB_PLAY);
  tickToEnd();
  int started = 0;
  for (uint32_t message : midi()) started += (message & 0xF0) == 0x90;
  EXPECT_EQ(started, 12 * 3);
  EXPECT_TRUE(fake.soundingNotes.empty());

  // A triad progression told it has four steps still plays three chords.
  selectProgression(3);
  program.sel.scaleSteps = 4;
  command(IDPB_PLAY);
  tickToEnd();
  started = 0;
  for (uint32_t message : midi()) started += (message & 0xF0) == 0x90;
  EXPECT_EQ(started, 9);
  circles();

  // Rows and indices outside their tables: the step draws and sounds nothing.
  selectChordType(11);
  program.sel.scalePoint = 0;
  playScaleChordCircle(program);
  selectProgression(36);
  playScaleChordCircle(program);
  selectDiatonic(IDM_SCALE_NOTES, 15);
  program.sel.direcSel2 = 3;
  playScaleChordCircle(program);
  program.sel.direcSel2 = 0;
  program.sel.scpIndex = 24;
  playScaleChordCircle(program);
  clearKinds();
  program.sel.wholeToneSel = IDM_SCALE_WT1;
  program.sel.scpIndex = 2;
  playScaleChordCircle(program);
  EXPECT_TRUE(midi().empty());
  EXPECT_TRUE(circles().empty());

  // A tuning outside the four: not even a surface is taken.
  selectDiatonic(IDM_SCALE_NOTES, 15);
  program.sel.keySel2 = 4;
  fake.clearLog();
  playScaleChordCircle(program);
  EXPECT_TRUE(fake.log.empty());
  program.sel.keySel2 = 0;

  // A step far past the end releases the remembered slot and attacks nothing.
  program.seq.prevNotes[0] = 2;
  program.seq.prevButXs[0] = buttonX(program, 2);
  program.seq.prevButYs[0] = buttonY(program, 2);
  program.seq.prevMidis[0] = 60;
  program.sel.scalePoint = 40;
  playScaleChordCircle(program);
  EXPECT_EQ(midi(), (std::vector<uint32_t>{off(60)}));
  EXPECT_EQ(circles(), (std::vector<std::pair<Box, platform::Colour>>{white(2)}));

  // A remembered slot that names no button is left alone.
  program.seq.prevNotes[0] = -3;
  playScaleChordCircle(program);
  EXPECT_TRUE(midi().empty());
  EXPECT_TRUE(circles().empty());
}

}  // namespace
}  // namespace brenavo
