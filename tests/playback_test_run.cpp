// Playback driven by messages, as the window delivers them: the transport commands, the
// timer and the tempo scroll bar, checked message by message and tick by tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
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
using platform::Colour;
using S = SelectionState;
using Messages = std::vector<uint32_t>;
using Log = std::vector<std::string>;
using Circles = std::vector<std::tuple<int, int, int, int, Colour>>;  // box and fill

constexpr Colour YELLOW = platform::rgb(255, 255, 0), WHITE = platform::WHITE;

// The part of the window procedure that routes playback messages.
int32_t routePlayback(Program& program, uint32_t message, uintptr_t wParam, intptr_t) {
  const int id = static_cast<int>(wParam & 0xFFFF);
  if (message == WM_COMMAND && ((id >= IDPB_PLAY && id <= IDPB_STOP) ||
                                (id >= IDM_SPEED_PLUS_5 && id <= IDM_SPEED_MIN_25)))
    handleTransportCommand(program, id);
  if (message == WM_TIMER) handlePlaybackTimer(program);
  if (message == WM_VSCROLL) handleVScroll(program, wParam);
  return 0;
}

uint32_t on(int note) { return 0x7F0090u | static_cast<uint32_t>(note) << 8; }
uint32_t off(int note) { return 0x80u | static_cast<uint32_t>(note) << 8; }
Messages each(uint32_t (*message)(int), const std::vector<int>& notes) {
  Messages out;
  std::transform(notes.begin(), notes.end(), std::back_inserter(out), message);
  return out;
}
Messages ons(const std::vector<int>& notes) { return each(on, notes); }
Messages offs(const std::vector<int>& notes) { return each(off, notes); }
template <typename T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// Silencing all four slots also releases the three a single note leaves empty.
const Messages EMPTY_SLOTS = offs({0, 0, 0});

// The major scale climbing from a tonic: tone, tone, semitone, tone, tone, tone, semitone.
std::vector<int> majorScale(int tonic, int notes) {
  static const int steps[7] = {2, 2, 1, 2, 2, 2, 1};
  std::vector<int> scale{tonic};
  for (int i = 1; i < notes; ++i) scale.push_back(scale.back() + steps[(i - 1) % 7]);
  return scale;
}

class Playback : public ::testing::Test {
 protected:
  Playback() { prepare(program, fake); }

  // Ready to play G major (row 0) in single notes on the pull side.
  static void prepare(Program& p, RecordingPlatform& f) {
    p.windowProc = routePlayback;
    p.menu = makeMainMenu();
    createButtonXYs(p);
    createDrawingResources(p);
    p.sel.midiDevExists = 1;
    p.sel.scaleSteps = 15;
    f.clearLog();
    f.dcOps.clear();
  }

  void select(int S::*kind, int id, int scpIndex, int steps) {
    S& sel = program.sel;
    sel.chromaticSel = sel.diatonicSel = sel.pentatonicSel = 0;
    sel.wholeToneSel = sel.chordSel = sel.circleSel = 0;
    sel.*kind = id;
    sel.scpIndex = scpIndex;
    sel.scaleSteps = steps;
  }

  void command(int id) { SendCommand(program, id); }
  void tick(int count = 1) {
    for (int i = 0; i < count; ++i) SendMessage(program, WM_TIMER, IDM_PLAY_TIMER, 0);
  }
  void scroll(int code, int thumb = 0) {
    SendMessage(program, WM_VSCROLL, static_cast<uintptr_t>(code | thumb << 16), 0);
  }
  // Ticks until the run is over; returns how many it took.
  int tickToEnd() {
    int count = 0;
    for (; program.sel.ctrlPlay && count < 100; ++count) tick();
    return count;
  }

  // MIDI messages and circles since the last call; flush() forgets them and the log.
  Messages midi() { return std::exchange(fake.midiMessages, {}); }
  Circles circles() {
    Circles drawn;
    for (const SurfaceOp& op : std::exchange(fake.dcOps, {}))
      if (op.kind == SurfaceOp::Kind::Ellipse)
        drawn.push_back({op.x, op.y, op.x2, op.y2, op.brush.colour});
    return drawn;
  }
  void flush() {
    midi();
    circles();
    fake.clearLog();
  }
  Circles circlesAt(const std::vector<int>& positions, Colour fill) {
    Circles out;
    for (int p : positions) {
      const int x = buttonX(program, p), y = buttonY(program, p);
      out.push_back({x - 20, y - 20, x + 20, y + 20, fill});
    }
    return out;
  }

  bool everyMenuGreyedIs(bool greyed) const {
    return std::all_of(program.menu.items.begin(), program.menu.items.end(),
                       [greyed](const MenuItem& item) { return item.grayed == greyed; });
  }

  RecordingPlatform fake;
  Program program{fake.services()};
};

TEST_F(Playback, ADiatonicRunSoundsFifteenNotesThenReleasesThenStops) {
  for (const auto& [tuning, tonic] : {std::pair{0, 55}, {3, 57}}) {  // G major; A major in A-D-G
    SCOPED_TRACE(tuning);
    program.sel.keySel2 = tuning;
    const std::vector<int> scale = majorScale(tonic, 15);
    command(IDPB_PLAY);
    EXPECT_EQ((std::tuple{fake.focus, fake.timerRunning, fake.timerId, fake.timerPeriod}),
              (std::tuple{IDPB_PLAY, true, IDM_PLAY_TIMER, 250}));
    EXPECT_TRUE(everyMenuGreyedIs(true));
    EXPECT_EQ(midi(), ons({scale[0]}));
    EXPECT_EQ(circles(), (Circles{{610, 77, 650, 117, YELLOW}}));  // push side, column 1, row 2
    tick();  // back to white, and the pull side's first button turns yellow
    EXPECT_EQ(midi(), offs({scale[0]}) + ons({scale[1]}));
    EXPECT_EQ(circles(), (circlesAt({34}, WHITE) + Circles{{410, 77, 450, 117, YELLOW}}));
    for (size_t step = 2; step < 15; ++step) {
      tick();
      EXPECT_EQ(midi(), offs({scale[step - 1]}) + ons({scale[step]})) << step;
    }
    tick();  // the 15th tick only releases
    EXPECT_EQ(midi(), offs({scale[14]}));
    EXPECT_EQ(program.sel.ctrlPlay, 1);
    tick();  // the 16th ends the run
    EXPECT_EQ(midi(), offs({scale[14]}) + EMPTY_SLOTS);
    const S& sel = program.sel;
    EXPECT_EQ((std::tuple{sel.ctrlPlay, sel.ctrlPause, fake.timerRunning, fake.focus}),
              (std::tuple{0, 0, false, IDC_CONTROLS_FRAME}));
    EXPECT_TRUE(everyMenuGreyedIs(false));
    tick();  // a stray tick after the end plays nothing
    command(IDPB_PLAY);  // and a new run releases nothing of the one before
    EXPECT_EQ(midi(), ons({scale[0]}));
    command(IDPB_STOP);
    flush();
  }
}

TEST_F(Playback, ThirdsAndSixthsPlayTheFirstVoiceThenTheSecond) {
  // Degrees counted on G major from -G: thirds lie two degrees above the first voice,
  // sixths are the same third under a first voice an octave up.
  for (const auto& [format, steps, firstDegree] : {std::tuple{IDM_SCALE_THIRDS, 15, 0},
                                                   {IDM_SCALE_SIXTHS, 8, 7}}) {
    SCOPED_TRACE(format);
    program.sel.formatSel = format;
    program.sel.formatSel2 = format - IDM_SCALE_NOTES;
    program.sel.scaleSteps = steps;
    const std::vector<int> scale = majorScale(55, 17);
    auto first = [&, degree = firstDegree](int step) {
      return scale[static_cast<size_t>(step + degree)];
    };
    auto second = [&](int step) { return scale[static_cast<size_t>(step + 2)]; };
    command(IDPB_PLAY);
    EXPECT_EQ(midi(), ons({first(0), second(0)}));
    for (int step = 1; step < steps; ++step) {
      circles();
      tick();
      EXPECT_EQ(midi(), (Messages{off(first(step - 1)), on(first(step)), off(second(step - 1)),
                                  on(second(step))})) << step;
      std::vector<Colour> fills;
      for (const auto& circle : circles()) fills.push_back(std::get<4>(circle));
      EXPECT_EQ(fills, (std::vector<Colour>{WHITE, YELLOW, WHITE, YELLOW}));
    }
    tick();
    EXPECT_EQ(midi(), offs({first(steps - 1), second(steps - 1)}));
    tickToEnd();
    flush();
  }
}

TEST_F(Playback, ACircleProgressionReleasesWhatTheRowBeforeHeld) {
  select(&S::circleSel, IDM_PROG_C_ARM_1, 12, COLS_PROGS_4);  // harmonic circle on B
  const std::vector<int> tonic{71, 63, 66}, sixth{68, 71, 63}, second{73, 76, 68},
      dominant7{66, 70, 73, 76};
  command(IDPB_PLAY);
  EXPECT_EQ(midi(), ons(tonic));
  tick();
  EXPECT_EQ(midi(), offs(tonic) + ons(sixth));
  tick();
  EXPECT_EQ(midi(), offs(sixth) + ons(second));
  circles();
  tick();  // three slots released, four attacked
  EXPECT_EQ(midi(), offs(second) + ons(dominant7));
  EXPECT_EQ(circles(), circlesAt({22, 27, 11}, WHITE) + circlesAt({4, 25, 22, 27}, YELLOW));
  tick();  // the releasing step counts four slots on the last row
  EXPECT_EQ(midi(), offs(dominant7));
  EXPECT_EQ(circles(), circlesAt({4, 25, 22, 27}, WHITE));
  tick();
  EXPECT_EQ(midi(), offs(dominant7));  // the end of the run: all four slots again
  EXPECT_TRUE(fake.soundingNotes.empty());
}

TEST_F(Playback, WithoutAnOutputTheHighlightsMoveExactlyTheSame) {
  RecordingPlatform silentFake;
  Program silent{silentFake.services()};
  prepare(silent, silentFake);
  silent.sel.midiDevExists = 0;
  for (Program* p : {&program, &silent}) {
    SendCommand(*p, IDPB_PLAY);
    SendMessage(*p, WM_TIMER, IDM_PLAY_TIMER, 0);
    SendCommand(*p, IDPB_PAUSE);
    SendCommand(*p, IDPB_PLAY);
    while (p->sel.ctrlPlay) SendMessage(*p, WM_TIMER, IDM_PLAY_TIMER, 0);
    SendCommand(*p, IDPB_STOP);
  }
  EXPECT_FALSE(fake.midiMessages.empty());
  EXPECT_TRUE(silentFake.midiMessages.empty());
  ASSERT_FALSE(fake.dcOps.empty());
  ASSERT_EQ(silentFake.dcOps.size(), fake.dcOps.size());
  for (size_t i = 0; i < fake.dcOps.size(); ++i) {
    const SurfaceOp &a = fake.dcOps[i], &b = silentFake.dcOps[i];
    EXPECT_EQ((std::tuple{a.kind, a.x, a.y, a.text, a.brush}),
              (std::tuple{b.kind, b.x, b.y, b.text, b.brush})) << i;
  }
}

TEST_F(Playback, PauseSilencesAndPlayResumesWithTheNextStep) {
  command(IDPB_PLAY);
  tick(2);  // -B (59) sounds
  flush();
  command(IDPB_PAUSE);
  EXPECT_EQ(midi(), offs({59}) + EMPTY_SLOTS);
  EXPECT_TRUE(fake.soundingNotes.empty());
  const S& sel = program.sel;
  EXPECT_EQ((std::tuple{fake.focus, fake.timerRunning, sel.ctrlPause, sel.ctrlPlay}),
            (std::tuple{IDPB_PAUSE, false, 1, 0}));
  EXPECT_TRUE(everyMenuGreyedIs(true));
  EXPECT_TRUE(circles().empty());  // the paused step stays highlighted
  tick();  // a stray tick while paused runs nothing
  command(IDPB_PAUSE);  // a second pause only moves the focus
  EXPECT_TRUE(midi().empty());

  command(IDPB_PLAY);
  EXPECT_EQ((std::pair{fake.focus, fake.timerRunning}), (std::pair{IDPB_PLAY, true}));
  EXPECT_EQ(midi(), offs({59}) + ons({60}));
  EXPECT_EQ(circles(), circlesAt({12}, WHITE) + circlesAt({2}, YELLOW));
  EXPECT_EQ(tickToEnd(), 13);
}

TEST_F(Playback, LoopRestartsAfterOneSilentPeriodAndPauseEndsTheLoop) {
  command(IDPB_LOOP);
  EXPECT_EQ(fake.focus, IDPB_LOOP);
  tick(14);
  flush();
  tick();  // the last note stops...
  EXPECT_EQ(midi(), offs({79}));
  EXPECT_TRUE(fake.soundingNotes.empty());
  tick();  // ...and one period later the next run begins
  EXPECT_EQ(midi(), offs({79}) + EMPTY_SLOTS + ons({55}));
  Log landmarks;
  for (const std::string& line : fake.log)
    if (line.starts_with("focus") || line.starts_with("timer")) landmarks.push_back(line);
  EXPECT_EQ(landmarks, (Log{"focus 600", "timer.kill 605", "focus 602", "timer.set 605 250"}));
  EXPECT_TRUE(everyMenuGreyedIs(true));
  EXPECT_EQ((std::tuple{program.sel.ctrlPlay, program.sel.ctrlLoop, program.sel.scalePoint}),
            (std::tuple{1, 1, 1}));

  tick();
  command(IDPB_PAUSE);
  EXPECT_EQ(program.sel.ctrlLoop, 0);
  command(IDPB_PLAY);
  EXPECT_EQ(tickToEnd(), 14);  // plays to its end once and stops
  EXPECT_TRUE(everyMenuGreyedIs(false));
}

TEST_F(Playback, StopWhilePausedSilencesAgainAndRepaints) {
  command(IDPB_PLAY);
  tick();
  command(IDPB_PAUSE);
  flush();
  command(IDPB_STOP);
  EXPECT_EQ(midi(), offs({57}) + EMPTY_SLOTS);
  EXPECT_EQ((std::tuple{fake.focus, fake.logOf("timer.kill").size(), fake.invalidations}),
            (std::tuple{IDPB_STOP, size_t{1}, 1}));
  EXPECT_TRUE(everyMenuGreyedIs(false));
  const S& sel = program.sel;
  EXPECT_EQ((std::tuple{sel.scalePoint, sel.ctrlPlay, sel.ctrlLoop, sel.ctrlPause}),
            (std::tuple{0, 0, 0, 0}));
  flush();
  command(IDPB_STOP);  // stopped already: no notes, no timer, but the same repaint
  EXPECT_TRUE(midi().empty());
  EXPECT_EQ((std::pair{fake.logOf("timer.kill").size(), fake.invalidations}),
            (std::pair{size_t{0}, 2}));
}

TEST_F(Playback, PlayWhilePlayingDoesNothingAndStopSilencesTheChord) {
  select(&S::circleSel, IDM_PROG_C_ARM_1 + 5, 17, COLS_PROGS_4);  // harmonic circle on C
  command(IDPB_LOOP);
  tick();
  fake.clearLog();
  fake.focus = IDPB_STOP;
  command(IDPB_PLAY);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_EQ((std::pair{fake.focus, program.sel.scalePoint}), (std::pair{IDPB_STOP, 2}));
  EXPECT_EQ(fake.soundingNotes.size(), 3u);
  command(IDPB_STOP);
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_EQ((std::pair{fake.timerRunning, program.sel.ctrlLoop}), (std::pair{false, 0}));
}

TEST_F(Playback, SpeedKeysStopAtTheEndsAndRestartARunningTimer) {
  command(IDPB_PLAY);
  fake.clearLog();
  command(IDM_SPEED_MIN_25);
  EXPECT_EQ(fake.log, (Log{"timer.kill 605", "timer.set 605 250", "scroll.pos 1"}));
  program.sel.vPos = 18;
  fake.clearLog();
  command(IDM_SPEED_PLUS_25);
  EXPECT_EQ(fake.log, (Log{"timer.kill 605", "timer.set 605 5000", "scroll.pos 20"}));
  for (const auto& [id, expected] : {std::pair{IDM_SPEED_PLUS_5, 20}, {IDM_SPEED_MIN_25, 15},
                                     {IDM_SPEED_MIN_5, 14}, {IDM_SPEED_PLUS_5, 15}}) {
    command(id);
    EXPECT_EQ(program.sel.vPos, expected) << id;
  }
  EXPECT_EQ(fake.timerPeriod, 15 * 250);
  command(IDPB_STOP);
  fake.clearLog();
  command(IDM_SPEED_PLUS_5);  // stopped: only the bar moves
  EXPECT_EQ(fake.log, (Log{"scroll.pos 16"}));
}

TEST_F(Playback, TheThumbSetsTheTempoWithinTheRange) {
  program.sel.vPos = 5;
  for (const auto& [code, thumb, expected] :
       {std::tuple{SB_THUMBTRACK, 7, 7}, {SB_THUMBPOSITION, 12, 12}, {SB_THUMBTRACK, 0, 1},
        {SB_THUMBPOSITION, 40, 20}, {SB_THUMBTRACK, 0xFFFF, 20},  // the high word is unsigned
        {SB_ENDSCROLL, 3, 20}, {SB_THUMBTRACK, 9, 9},
        {7, 2, 9},                // a code without a rule leaves the tempo
        {SB_LINEDOWN, 3, 10}}) {  // a line ignores the thumb word
    scroll(code, thumb);
    EXPECT_EQ((std::pair{program.sel.vPos, fake.scrollPos}), (std::pair{expected, expected}))
        << "code " << code << " thumb " << thumb;
  }
  command(IDPB_PLAY);
  fake.clearLog();
  scroll(SB_ENDSCROLL);
  EXPECT_EQ(fake.log, (Log{"timer.kill 605", "timer.set 605 2500", "scroll.pos 10"}));

  // A tempo outside the range (loading brings a stored one into range): the first
  // scroll clamps it.
  command(IDPB_STOP);
  for (const auto& [stored, clamped] : {std::pair{0, 1}, {37, 20}}) {
    program.sel.vPos = stored;
    scroll(SB_LINEUP);
    EXPECT_EQ(program.sel.vPos, clamped);
  }
}

// Pause between the releasing step and the end of the run, then Play: one more step runs
// with scalePoint past the last step and only repeats the last release.
TEST_F(Playback, AStepPastTheEndRepeatsTheLastReleaseWithinTheSelection) {
  struct Case {
    int S::*kind;
    int id, scpIndex, steps;
    std::vector<int> lastPositions, lastNotes;
  };
  const Case cases[] = {
      // A triad progression: its fourth row is empty and has no end mark.
      {&S::circleSel, IDM_PROG_TRIAD_1, 0, 3, {4, 25, 22}, {66, 70, 73}},
      // The last chord type: the row after its last chord would be outside the table.
      {&S::chordSel, IDM_CHORDS_7_DOM_B5, 10, 12, {4, 25, 6, 7}, {66, 70, 72, 76}},
      {&S::diatonicSel, IDM_SCALE_1, 0, 15, {28}, {79}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    select(c.kind, c.id, c.scpIndex, c.steps);
    command(IDPB_PLAY);
    tick(c.steps);
    command(IDPB_PAUSE);
    flush();
    command(IDPB_PLAY);
    EXPECT_EQ(midi(), offs(c.lastNotes));
    EXPECT_EQ(circles(), circlesAt(c.lastPositions, WHITE));
    EXPECT_EQ(tickToEnd(), 1);
    EXPECT_TRUE(fake.soundingNotes.empty());
  }
}

TEST_F(Playback, OddSelectionsNeverReachOutsideTheTables) {
  // More steps than the table holds sound only what it holds.
  struct Run {
    int S::*kind;
    int id, scpIndex, steps;
    long started;
  };
  for (const Run& r : {Run{&S::chordSel, IDM_CHORDS_MAJOR, 0, 15, 12 * 3},
                       Run{&S::circleSel, IDM_PROG_TRIAD_1 + 3, 3, 4, 9},
                       Run{&S::pentatonicSel, IDM_SCALE_PENT_1, 0, PENT_STEPS, PENT_STEPS}}) {
    select(r.kind, r.id, r.scpIndex, r.steps);
    command(IDPB_PLAY);
    EXPECT_EQ(tickToEnd(), r.steps + 1);
    const Messages sent = midi();
    const auto isNoteOn = [](uint32_t m) { return (m & 0xF0) == 0x90; };
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), isNoteOn), r.started) << r.id;
    EXPECT_TRUE(fake.soundingNotes.empty());
  }

  // Rows, directions and tunings outside their tables: the step draws and sounds nothing.
  struct Step {
    int S::*kind;
    int id, scpIndex, direction, tuning;
  };
  for (const Step& s : {Step{&S::chordSel, IDM_CHORDS_MAJOR, 11, 0, 0},
                        Step{&S::circleSel, IDM_PROG_TRIAD_1, 36, 0, 0},
                        Step{&S::diatonicSel, IDM_SCALE_1, 0, 3, 0},
                        Step{&S::diatonicSel, IDM_SCALE_1, 24, 0, 0},
                        Step{&S::wholeToneSel, IDM_SCALE_WT1, 2, 0, 0},
                        Step{&S::diatonicSel, IDM_SCALE_1, 0, 0, 4}}) {
    select(s.kind, s.id, s.scpIndex, 15);
    program.sel.direcSel2 = s.direction;
    program.sel.keySel2 = s.tuning;
    program.sel.scalePoint = 0;
    flush();
    playScaleChordCircle(program);
    EXPECT_TRUE(midi().empty()) << s.id;
    EXPECT_TRUE(circles().empty()) << s.id;
  }
  program.sel.direcSel2 = program.sel.keySel2 = 0;

  // A step far past the end releases the remembered slot and attacks nothing; a slot
  // that names no button is left alone.
  program.seq.prev[0] = {2, buttonX(program, 2), buttonY(program, 2), 60};
  program.sel.scalePoint = 40;
  playScaleChordCircle(program);
  EXPECT_EQ(midi(), offs({60}));
  EXPECT_EQ(circles(), circlesAt({2}, WHITE));
  program.seq.prev[0].note = -3;
  playScaleChordCircle(program);
  EXPECT_TRUE(midi().empty());
  EXPECT_TRUE(circles().empty());
}

}  // namespace
}  // namespace brenavo
