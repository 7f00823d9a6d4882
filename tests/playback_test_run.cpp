// Playback through the window procedure on recording fakes: transport, ticks, tempo bar.
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

using namespace brenavo;

using fakes::SurfaceOp;
using Notes = std::vector<int>;
using Messages = std::vector<uint32_t>;
using Log = std::vector<std::string>;

// Note-ons on channel 0 at full velocity; offs pads to `slots` with note 0, as silencing a
// run turns off all four slots and those it left empty hold note 0.
static Messages ons(const Notes& notes, uint32_t status = 0x7F0090u) {
  Messages out;
  for (int note : notes) out.push_back(status | static_cast<uint32_t>(note) << 8);
  return out;
}
static Messages offs(Notes notes, size_t slots = 0) {
  notes.resize(std::max(notes.size(), slots));
  return ons(notes, 0x80u);
}
template <typename T>
static std::vector<T> operator+(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A run up the major scale on `tonic` (semitones after degrees 3 and 7), a voice per degree.
static std::vector<Notes> climb(int tonic, size_t steps, const std::vector<size_t>& degrees) {
  Notes scale{tonic};
  for (size_t k = 0; k < 23; ++k) scale.push_back(scale.back() + (k % 7 % 4 == 2 ? 1 : 2));
  std::vector<Notes> run(steps);
  for (size_t i = 0; i < steps; ++i)
    for (size_t degree : degrees) run[i].push_back(scale[i + degree]);
  return run;
}

// A run, tick by tick: each step releases the notes of the one before and attacks its own
// (voice by voice in scales, whole chords at once); one step more only releases. A Pause then
// silences all slots and Play repeats the last release; the end silences all slots.
static std::vector<Messages> expectedRun(const std::vector<Notes>& steps, bool chordWise) {
  std::vector<Messages> run{ons(steps[0])};
  for (size_t i = 1; i < steps.size(); ++i) {
    Messages step = chordWise ? offs(steps[i - 1]) + ons(steps[i]) : Messages{};
    for (size_t v = 0; !chordWise && v < steps[i].size(); ++v)
      step = step + offs({steps[i - 1][v]}) + ons({steps[i][v]});
    run.push_back(step);
  }
  const Messages release = offs(steps.back()), silence = offs(steps.back(), NOTE_SLOTS);
  return run + std::vector<Messages>{release, silence + release, silence};
}

struct Playback : ::testing::Test {
  Playback() { midi(), fake.dcOps.clear(); }  // what opening the window sent and drew
  void command(int id) { SendCommand(*program, id); }
  void tick() { SendMessage(*program, WM_TIMER, IDM_PLAY_TIMER, 0); }
  Messages midi() { return std::exchange(fake.midiMessages, {}); }
  // Each note is drawn just before it sounds, on a button of it: yellow to start, white to stop.
  void expectDrawnAsSounded(const Messages& sent) {
    std::vector<std::pair<int, platform::Colour>> drawn, expected;
    for (uint32_t m : sent)
      expected.push_back({(m >> 8) & 0x7F, m & 0x10 ? platform::rgb(255, 255, 0) : platform::WHITE});
    for (const SurfaceOp& c : std::exchange(fake.dcOps, {}))
      for (int p = 0; p < KB_POSITIONS && c.kind == SurfaceOp::Kind::Ellipse; ++p)
        if (!isLabelSlot(p) && c.x + 20 == buttonX(*program, p) && c.y2 - 20 == buttonY(*program, p))
          drawn.push_back({keyConfig[program->sel.keySel2].midiKeyNum[p], c.brush.colour});
    EXPECT_EQ(drawn, expected);
  }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
};

TEST_F(Playback, RunsSoundTheMusicThenReleaseAndEnd) {
  const std::tuple<int, int, std::vector<Notes>> cases[] = {
      {IDM_SCALE_NOTES, 0, climb(55, 15, {0})}, {IDM_SCALE_NOTES, 3, climb(57, 15, {0})},
      {IDM_SCALE_THIRDS, 0, climb(55, 15, {0, 2})},  // a third above
      {IDM_SCALE_SIXTHS, 0, climb(55, 8, {7, 2})},  // the third, an octave up over it
      {IDM_PROG_C_ARM_1, 0, {{71, 63, 66}, {68, 71, 63}, {73, 76, 68}, {66, 70, 73, 76}}}};
  for (const auto& [selection, tuning, steps] : cases) {
    command(selection), program->sel.keySel2 = tuning, midi(), fake.dcOps.clear();
    const std::vector<Messages> expected = expectedRun(steps, selection == IDM_PROG_C_ARM_1);
    command(IDPB_PLAY);  // a new run releases nothing of the one before
    for (size_t step = 0; step < expected.size(); ++step) {
      if (step + 2 == expected.size()) command(IDPB_PAUSE), command(IDPB_PLAY);
      else if (step > 0) tick();
      const Messages sent = midi();
      EXPECT_EQ(sent, expected[step]) << selection << " in tuning " << tuning << " step " << step;
      if (step + 2 < expected.size()) expectDrawnAsSounded(sent);
    }
  }
}

// On G major in single notes. Pause leaves the highlight drawn; Stop repaints to clear it.
TEST_F(Playback, TransportCommandsPauseResumeLoopAndStop) {
  constexpr int TICK = 0, PLAY = IDPB_PLAY, PAUSE = IDPB_PAUSE, STOP = IDPB_STOP, LOOP = IDPB_LOOP,
                FRAME = IDC_CONTROLS_FRAME;
  struct Row { int action, times; std::optional<Messages> sent; int play, pause, loop, focus; };
  const Messages none;
  const Row script[] = {
      {PLAY, 1, ons({55}), 1, 0, 0, PLAY}, {TICK, 1, offs({55}) + ons({57}), 1, 0, 0, PLAY},
      {PAUSE, 1, offs({57}, 4), 0, 1, 0, PAUSE}, {TICK, 1, none, 0, 1, 0, PAUSE},
      {PAUSE, 1, none, 0, 1, 0, PAUSE}, {PLAY, 1, offs({57}) + ons({59}), 1, 0, 0, PLAY},
      {PLAY, 1, none, 1, 0, 0, PLAY}, {PAUSE, 1, offs({59}, 4), 0, 1, 0, PAUSE},
      {STOP, 1, offs({59}, 4), 0, 0, 0, STOP}, {STOP, 1, none, 0, 0, 0, STOP},
      {LOOP, 1, ons({55}), 1, 0, 1, LOOP}, {TICK, 14, std::nullopt, 1, 0, 1, LOOP},
      {TICK, 1, offs({79}), 1, 0, 1, LOOP}, {TICK, 1, offs({79}, 4) + ons({55}), 1, 0, 1, LOOP},
      {PAUSE, 1, offs({55}, 4), 0, 1, 0, PAUSE}, {PLAY, 1, offs({55}) + ons({57}), 1, 0, 0, PLAY},
      {TICK, 15, std::nullopt, 0, 0, 0, FRAME}, {TICK, 1, none, 0, 0, 0, FRAME}};  // the end, once
  for (const Row& r : script) {
    const int repaints = fake.invalidations;
    for (int i = 0; i < r.times; ++i) r.action == TICK ? tick() : command(r.action);
    const Messages sent = midi();
    const SelectionState& sel = program->sel;
    EXPECT_EQ((std::tuple{sel.ctrlPlay, sel.ctrlPause, sel.ctrlLoop, fake.focus, fake.timerRunning,
                          fake.invalidations - repaints, r.action != PAUSE || fake.dcOps.empty(), sent}),
              (std::tuple{r.play, r.pause, r.loop, r.focus, r.play == 1, r.action == STOP, true,
                          r.sent.value_or(sent)})) << "row " << &r - script;
    fake.dcOps.clear();
  }
}

// Keys move the tempo by one and five, the thumb sets it, always within 1-20 (even from out
// of range); the bar shows it, and a running timer starts again at the new period.
TEST_F(Playback, SpeedKeysAndTheScrollBarKeepTheTempoInRangeAndRestartTheTimer) {
  struct Move { int from, command, code, thumb, tempo; };
  const Move moves[] = {
      {1, IDM_SPEED_MIN_25, 0, 0, 1}, {18, IDM_SPEED_PLUS_25, 0, 0, 20},
      {20, IDM_SPEED_MIN_25, 0, 0, 15}, {15, IDM_SPEED_MIN_5, 0, 0, 14},
      {14, IDM_SPEED_PLUS_5, 0, 0, 15}, {5, 0, SB_THUMBTRACK, 7, 7}, {0, 0, SB_LINEUP, 0, 1},
      {5, 0, SB_THUMBPOSITION, 40, 20}, {5, 0, SB_THUMBTRACK, 0, 1}, {37, 0, SB_LINEUP, 0, 20},
      {5, 0, SB_THUMBTRACK, 0xFFFF, 20}, {5, 0, SB_ENDSCROLL, 3, 5},  // the high word is unsigned
      {5, 0, SB_LINEDOWN, 3, 6}};  // a line ignores the thumb word
  for (bool running : {false, true}) {
    if (running) command(IDPB_PLAY);
    for (const Move& m : moves) {
      program->sel.vPos = m.from, fake.log.clear();
      if (m.command) command(m.command);
      else SendMessage(*program, WM_VSCROLL, static_cast<uintptr_t>(m.code | m.thumb << 16), 0);
      const Log restart{"timer.kill 605", "timer.set 605 " + std::to_string(m.tempo * 250)};
      const Log shown{"scroll.pos " + std::to_string(m.tempo)};
      EXPECT_EQ(fake.log, running ? restart + shown : shown) << "row " << &m - moves;
    }
  }
}
