// Playback driven through the window procedure on recording fakes: the transport
// commands, the timer's ticks and the tempo scroll bar, message by message.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/brenavo_funcs.h"
#include "display/geometry.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"

namespace brenavo {
namespace {

using fakes::SurfaceOp;
using S = SelectionState;
using Notes = std::vector<int>;
using Messages = std::vector<uint32_t>;
using Log = std::vector<std::string>;

uint32_t on(int note) { return 0x7F0090u | static_cast<uint32_t>(note) << 8; }
uint32_t off(int note) { return 0x80u | static_cast<uint32_t>(note) << 8; }
Messages each(uint32_t (*message)(int), const Notes& notes) {
  Messages out;
  std::transform(notes.begin(), notes.end(), std::back_inserter(out), message);
  return out;
}
Messages ons(const Notes& notes) { return each(on, notes); }
Messages offs(const Notes& notes) { return each(off, notes); }
template <typename T>
std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// Silencing a run turns off all four slots; those a run left empty hold note 0.
Messages allOff(Notes held) {
  held.resize(NOTE_SLOTS);
  return offs(held);
}

// A run up the major scale on `tonic` (tone, tone, semitone, tone, tone, tone, semitone),
// one voice from each degree given.
std::vector<Notes> climb(int tonic, size_t steps, const std::vector<size_t>& degrees) {
  static const int tones[7] = {2, 2, 1, 2, 2, 2, 1};
  Notes scale{tonic};
  while (scale.size() < 24) scale.push_back(scale.back() + tones[(scale.size() - 1) % 7]);
  std::vector<Notes> run(steps);
  for (size_t i = 0; i < steps; ++i)
    for (size_t degree : degrees) run[i].push_back(scale[i + degree]);
  return run;
}

// What a run sends from Play, tick by tick: each step releases the notes of the one before
// and attacks its own (voice by voice in scales, the whole chord at once in chords); one
// step more only releases, and the end of the run silences every slot.
std::vector<Messages> expectedRun(const std::vector<Notes>& steps, bool chordWise) {
  std::vector<Messages> run{ons(steps[0])};
  for (size_t i = 1; i < steps.size(); ++i) {
    Messages step = chordWise ? offs(steps[i - 1]) + ons(steps[i]) : Messages{};
    for (size_t v = 0; !chordWise && v < steps[i].size(); ++v)
      step = step + Messages{off(steps[i - 1][v]), on(steps[i][v])};
    run.push_back(step);
  }
  return run + std::vector<Messages>{offs(steps.back()), allOff(steps.back())};
}

class Playback : public ::testing::Test {
 protected:
  Playback() { flush(); }

  void command(int id) { SendCommand(*program, id); }
  void tick(int count = 1) {
    for (int i = 0; i < count; ++i) SendMessage(*program, WM_TIMER, IDM_PLAY_TIMER, 0);
  }
  int tickToEnd() {  // how many ticks the run still takes
    int count = 0;
    for (; program->sel.ctrlPlay && count < 100; ++count) tick();
    return count;
  }
  Messages midi() { return std::exchange(fake.midiMessages, {}); }
  void flush() { midi(), fake.dcOps.clear(), fake.clearLog(); }
  bool menusGreyed(bool greyed) const {
    return std::all_of(program->menu.items.begin(), program->menu.items.end(),
                       [greyed](const MenuItem& item) { return item.grayed == greyed; });
  }
  // Every note started or stopped is drawn just before, as a circle on a button of that
  // note: yellow when it starts, white when it stops.
  void expectDrawnAsSounded(const Messages& sent) {
    std::vector<std::pair<int, platform::Colour>> drawn, expected;
    for (uint32_t m : sent)
      expected.push_back({(m >> 8) & 0x7F, (m & 0xF0) == 0x90 ? platform::rgb(255, 255, 0)
                                                               : platform::WHITE});
    for (const SurfaceOp& op : std::exchange(fake.dcOps, {}))
      if (op.kind == SurfaceOp::Kind::Ellipse) drawn.push_back({noteUnder(op), op.brush.colour});
    EXPECT_EQ(drawn, expected);
  }
  int noteUnder(const SurfaceOp& c) const {  // the note of the button a circle is on
    for (int p = 0; p < KB_POSITIONS; ++p) {
      const int x = buttonX(*program, p), y = buttonY(*program, p);
      if (!isLabelSlot(p) && std::tuple{c.x, c.y, c.x2, c.y2} ==
                                 std::tuple{x - 20, y - 20, x + 20, y + 20})
        return keyConfig[program->sel.keySel2].midiKeyNum[p];
    }
    return -1;
  }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
};

TEST_F(Playback, RunsSoundTheMusicThenReleaseAndEnd) {
  const std::vector<Notes> circleOnB{{71, 63, 66}, {68, 71, 63}, {73, 76, 68}, {66, 70, 73, 76}};
  const std::tuple<int, int, std::vector<Notes>> cases[] = {
      {IDM_SCALE_NOTES, 0, climb(55, 15, {0})}, {IDM_SCALE_NOTES, 3, climb(57, 15, {0})},
      {IDM_SCALE_THIRDS, 0, climb(55, 15, {0, 2})},  // a third above
      {IDM_SCALE_SIXTHS, 0, climb(55, 8, {7, 2})},   // the same third, an octave up over it
      {IDM_PROG_C_ARM_1, 0, circleOnB}};
  for (const auto& [selection, tuning, steps] : cases) {
    SCOPED_TRACE(testing::Message() << selection << " in tuning " << tuning);
    command(selection);
    program->sel.keySel2 = tuning;
    flush();
    const std::vector<Messages> expected = expectedRun(steps, selection == IDM_PROG_C_ARM_1);
    command(IDPB_PLAY);  // a new run releases nothing of the one before
    EXPECT_EQ(fake.timerPeriod, 250);
    for (size_t step = 0; step < expected.size(); ++step) {
      if (step > 0) tick();
      const Messages sent = midi();
      EXPECT_EQ(sent, expected[step]) << step;
      if (step + 1 < expected.size()) expectDrawnAsSounded(sent);
    }
    EXPECT_EQ(program->sel.ctrlPlay, 0);
  }
}

// Play, Pause, Loop and Stop on G major in single notes: what each sends, and the state
// after it. The menus are greyed while a run plays or is paused; nothing sounds otherwise.
TEST_F(Playback, TransportCommandsPauseResumeLoopAndStop) {
  constexpr int TICK = 0, FRAME = IDC_CONTROLS_FRAME;
  struct Row { int action, times; std::optional<Messages> sent; int play, pause, loop, focus; };
  const Row script[] = {
      {IDPB_PLAY, 1, ons({55}), 1, 0, 0, IDPB_PLAY},
      {TICK, 2, offs({55}) + ons({57}) + offs({57}) + ons({59}), 1, 0, 0, IDPB_PLAY},
      {IDPB_PAUSE, 1, allOff({59}), 0, 1, 0, IDPB_PAUSE},
      {TICK, 1, Messages{}, 0, 1, 0, IDPB_PAUSE},  // a stray tick runs nothing
      {IDPB_PAUSE, 1, Messages{}, 0, 1, 0, IDPB_PAUSE},
      {IDPB_PLAY, 1, offs({59}) + ons({60}), 1, 0, 0, IDPB_PLAY},  // the next step
      {IDPB_PLAY, 1, Messages{}, 1, 0, 0, IDPB_PLAY},              // playing already
      {IDPB_PAUSE, 1, allOff({60}), 0, 1, 0, IDPB_PAUSE},
      {IDPB_STOP, 1, allOff({60}), 0, 0, 0, IDPB_STOP},  // silences again
      {IDPB_STOP, 1, Messages{}, 0, 0, 0, IDPB_STOP},
      {IDPB_LOOP, 1, ons({55}), 1, 0, 1, IDPB_LOOP},
      {TICK, 14, std::nullopt, 1, 0, 1, IDPB_LOOP},
      {TICK, 1, offs({79}), 1, 0, 1, IDPB_LOOP},  // the last note stops, and one period later
      {TICK, 1, allOff({79}) + ons({55}), 1, 0, 1, IDPB_LOOP},  // the next run begins
      {IDPB_PAUSE, 1, allOff({55}), 0, 1, 0, IDPB_PAUSE},       // no more loop
      {IDPB_PLAY, 1, offs({55}) + ons({57}), 1, 0, 0, IDPB_PLAY},
      {TICK, 15, std::nullopt, 0, 0, 0, FRAME},  // the end, once
      {TICK, 1, Messages{}, 0, 0, 0, FRAME}};
  for (const Row& r : script) {
    const int repaints = fake.invalidations;
    for (int i = 0; i < r.times; ++i) r.action == TICK ? tick() : command(r.action);
    SCOPED_TRACE(testing::Message() << "after " << r.action << " x" << r.times);
    const Messages sent = midi();
    EXPECT_EQ(sent, r.sent.value_or(sent));
    const S& sel = program->sel;
    EXPECT_EQ((std::tuple{sel.ctrlPlay, sel.ctrlPause, sel.ctrlLoop, fake.focus}),
              (std::tuple{r.play, r.pause, r.loop, r.focus}));
    EXPECT_EQ(fake.timerRunning, r.play == 1);
    EXPECT_TRUE(menusGreyed(r.play || r.pause));
    EXPECT_TRUE(r.play || fake.soundingNotes.empty());
    EXPECT_TRUE(r.action != IDPB_PAUSE || fake.dcOps.empty());  // the highlight stays
    EXPECT_EQ(fake.invalidations - repaints, r.action == IDPB_STOP ? 1 : 0);  // Stop repaints
    fake.dcOps.clear();
  }
}

// The speed keys move the tempo by one and five, the thumb sets it, always within 1-20
// (a tempo stored out of range is clamped by the first move); the bar shows it, and a
// running timer starts again at the new period.
TEST_F(Playback, SpeedKeysAndTheScrollBarKeepTheTempoInRangeAndRestartTheTimer) {
  struct Move { int from, command, code, thumb, tempo; };
  const Move moves[] = {
      {1, IDM_SPEED_MIN_25, 0, 0, 1},  {18, IDM_SPEED_PLUS_25, 0, 0, 20},
      {20, IDM_SPEED_PLUS_5, 0, 0, 20}, {20, IDM_SPEED_MIN_25, 0, 0, 15},
      {15, IDM_SPEED_MIN_5, 0, 0, 14},  {14, IDM_SPEED_PLUS_5, 0, 0, 15},
      {5, 0, SB_THUMBTRACK, 7, 7},      {5, 0, SB_THUMBPOSITION, 12, 12},
      {5, 0, SB_THUMBTRACK, 0, 1},      {5, 0, SB_THUMBPOSITION, 40, 20},
      {5, 0, SB_THUMBTRACK, 0xFFFF, 20},  // the high word is unsigned
      {5, 0, SB_ENDSCROLL, 3, 5},       {5, 0, 7, 2, 5},  // codes without a rule
      {5, 0, SB_LINEDOWN, 3, 6},        // a line ignores the thumb word
      {0, 0, SB_LINEUP, 0, 1},          {37, 0, SB_LINEUP, 0, 20}};
  for (bool running : {false, true}) {
    if (running) command(IDPB_PLAY);
    for (const Move& m : moves) {
      program->sel.vPos = m.from;
      fake.clearLog();
      if (m.command) command(m.command);
      else SendMessage(*program, WM_VSCROLL, static_cast<uintptr_t>(m.code | m.thumb << 16), 0);
      const Log restart{"timer.kill 605", "timer.set 605 " + std::to_string(m.tempo * 250)};
      const Log shown{"scroll.pos " + std::to_string(m.tempo)};
      EXPECT_EQ(fake.log, running ? restart + shown : shown)
          << "from " << m.from << " by " << m.command << " " << m.code << " " << m.thumb;
    }
  }
}

// A pause between the releasing step and the end of the run, then Play: one more step runs
// past the last one and only repeats the last release, inside the selection's rows.
TEST_F(Playback, AStepPastTheEndOnlyRepeatsTheLastRelease) {
  for (const auto& [selection, last] :
       {std::pair{IDM_PROG_TRIAD_1, Notes{66, 70, 73}},  // its fourth row is empty, unmarked
        {IDM_CHORDS_7_DOM_B5, Notes{66, 70, 72, 76}},    // the last row of the chord table
        {IDM_SCALE_1, Notes{79}}}) {
    command(selection);
    command(IDPB_PLAY);
    tick(program->sel.scaleSteps);
    command(IDPB_PAUSE);
    flush();
    command(IDPB_PLAY);
    const Messages sent = midi();
    EXPECT_EQ(sent, offs(last)) << selection;
    expectDrawnAsSounded(sent);
    EXPECT_EQ(tickToEnd(), 1);
    EXPECT_TRUE(fake.soundingNotes.empty());
  }
}

// Hand-edited settings can hold rows, directions, tunings and step counts outside the
// tables: a run sounds only what the tables hold, and leaves nothing sounding.
TEST_F(Playback, OddSelectionsSoundOnlyWhatTheTablesHold) {
  struct Odd { int S::*kind; int id, row, steps, direction, tuning; long started; };
  const Odd odds[] = {{&S::chordSel, IDM_CHORDS_MAJOR, 0, 15, 0, 0, 12 * 3},  // 12 triads
                      {&S::circleSel, IDM_PROG_TRIAD_1 + 3, 3, 4, 0, 0, 3 * 3},
                      {&S::pentatonicSel, IDM_SCALE_PENT_1, 0, PENT_STEPS, 0, 0, 0},
                      {&S::chordSel, IDM_CHORDS_MAJOR, 11, 15, 0, 0, 0},
                      {&S::circleSel, IDM_PROG_TRIAD_1, 36, 15, 0, 0, 0},
                      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 3, 0, 0},
                      {&S::diatonicSel, IDM_SCALE_1, 24, 15, 0, 0, 0},
                      {&S::wholeToneSel, IDM_SCALE_WT1, 2, 15, 0, 0, 0},
                      {&S::diatonicSel, IDM_SCALE_1, 0, 15, 0, 4, 0}};
  for (const Odd& o : odds) {
    SCOPED_TRACE(testing::Message() << o.id << " row " << o.row);
    S& sel = program->sel;
    sel.diatonicSel = sel.pentatonicSel = sel.wholeToneSel = sel.chordSel = sel.circleSel =
        sel.chromaticSel = 0;
    sel.*o.kind = o.id;
    std::tie(sel.scpIndex, sel.scaleSteps, sel.direcSel2, sel.keySel2) =
        std::tuple{o.row, o.steps, o.direction, o.tuning};
    command(IDPB_PLAY);
    EXPECT_EQ(tickToEnd(), o.steps + 1);
    const Messages sent = midi();
    const auto isNoteOn = [](uint32_t m) { return (m & 0xF0) == 0x90; };
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), isNoteOn), o.started);
    EXPECT_TRUE(fake.soundingNotes.empty());
  }
}

TEST_F(Playback, WithoutAnOutputTheHighlightsMoveTheSame) {
  fakes::RecordingPlatform silentFake;
  silentFake.midiOpenSucceeds = false;
  const std::unique_ptr<Program> silent = CreateMainWindow(silentFake.services());
  silentFake.dcOps.clear();
  for (Program* p : {program.get(), silent.get()}) {
    for (int id : {IDPB_PLAY, IDPB_PAUSE, IDPB_PLAY}) SendCommand(*p, id);
    while (p->sel.ctrlPlay) SendMessage(*p, WM_TIMER, IDM_PLAY_TIMER, 0);
  }
  auto drawing = [](const std::vector<SurfaceOp>& ops) {
    std::vector<std::tuple<SurfaceOp::Kind, int, int, std::string, platform::Brush>> out;
    for (const SurfaceOp& op : ops) out.push_back({op.kind, op.x, op.y, op.text, op.brush});
    return out;
  };
  EXPECT_FALSE(fake.midiMessages.empty() || fake.dcOps.empty());
  EXPECT_TRUE(silentFake.midiMessages.empty());
  EXPECT_EQ(drawing(silentFake.dcOps), drawing(fake.dcOps));
}

}  // namespace
}  // namespace brenavo
