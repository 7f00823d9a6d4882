// Practice driven by messages: hand-made Hearings reach the window procedure as the
// microphone's blocks would, and the fakes show what the learner sees and what is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"
#include "practice/practice.h"
#include "practice/practice_steps.h"
#include "selection/menus.h"

using namespace brenavo;

using fakes::SurfaceOp;
constexpr platform::Colour RED = platform::rgb(225, 0, 0), GREEN = platform::rgb(110, 225, 110),
                           YELLOW = platform::rgb(255, 255, 0);

struct Practice : ::testing::Test {
  void send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) { WindowFunc(*program, message, wParam, lParam); }
  void command(int id) { send(WM_COMMAND, static_cast<uintptr_t>(id)); }
  void tick() { send(WM_TIMER, IDM_PRACTICE_TIMER); }
  // Blocks, long enough to show a wrong note, in which each of the notes sounds clearly.
  void hear(std::vector<int> notes, double timeMs = 0) {
    listening::Hearing hearing{.timeMs = timeMs};
    for (int note : notes) hearing.salience[static_cast<size_t>(note)] = 1.0f;
    for (int block = 0; block < WRONG_NOTE_HEARINGS; ++block)
      send(WM_PRACTICE_HEARD, 0, reinterpret_cast<intptr_t>(&hearing));
  }
  std::vector<int> notes(int step) {
    const PracticeStep& s = program->practice.steps.at(static_cast<size_t>(step));
    return {s.notes, s.notes + s.count};
  }
  auto drawn(platform::Colour fill, platform::Colour outline) {
    return std::ranges::count_if(fake.dcOps, [&](const SurfaceOp& op) {
      return op.kind == SurfaceOp::Kind::Ellipse && op.brush.colour == fill && op.pen.colour == outline;
    });
  }
  std::string saved() { return fake.storedStrings["Practica/G-C-F 210 201 1021"]; }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
};

// The steps are the notes a run plays, step by step, for every kind of selection.
TEST_F(Practice, StepsSoundWhatARunPlays) {
  for (std::vector<int> selection : {std::vector{IDM_SCALE_1 + 1}, {IDM_SCALE_THIRDS, 211},
       {IDM_SCALE_SIXTHS, 223}, {IDM_SCALE_CHROMATIC}, {IDM_SCALE_WT1}, {IDM_CHORDS_MAJOR + 4},
       {IDM_PROG_C_MEL_1 + 3}, {IDM_PROG_TRIAD_1}}) {
    for (int id : selection) command(id);
    std::vector<std::vector<int>> run, practised;
    fake.midiMessages.clear();
    for (command(IDPB_PLAY); program->sel.ctrlPlay; send(WM_TIMER, IDM_PLAY_TIMER)) {
      std::vector<int> on;
      for (uint32_t m : std::exchange(fake.midiMessages, {}))
        if ((m & 0xF0) == 0x90 && (m >> 16) != 0) on.push_back(static_cast<int>((m >> 8) & 0x7F));
      if (!on.empty()) run.push_back(on);
    }
    for (const PracticeStep& step : practiceSteps(program->sel))
      practised.emplace_back(step.notes, step.notes + step.count);
    EXPECT_EQ(practised, run) << selection.back();
  }
}

// Waiting on the first step: only the step's notes together make it right (green, then on
// after a moment); a wrong note, an octave too, rings its buttons red on both diagrams and
// is named; silence and a missing voice do nothing.
TEST_F(Practice, WaitAcceptsTheStepAndShowsAWrongNote) {
  // The format, how many of the step's notes are heard (0: only the first, moved by offset), and
  // whether that makes the step right.
  const struct { int format, heard, offset; bool right; } cases[] = {
      {IDM_SCALE_NOTES, 0, 0, true}, {IDM_SCALE_NOTES, 0, 1, false}, {IDM_SCALE_NOTES, 0, 12, false},
      {IDM_SCALE_NOTES, -1, 0, false}, {IDM_SCALE_THIRDS, 1, 0, false}, {IDM_SCALE_THIRDS, 2, 0, true}};
  for (const auto& c : cases) {
    program = CreateMainWindow(fake.services()), fake.timerRunning = false;
    command(c.format), command(IDM_PRACTICE_WAIT), fake.dcOps.clear();
    const std::vector<int> step = notes(0);
    hear(c.heard == 0 ? std::vector{step[0] + c.offset}
                      : std::vector(step.begin(), step.begin() + std::max(c.heard, 0)));
    const int wrong = c.offset ? step[0] + c.offset : -1;  // on buttons of both sides
    EXPECT_EQ(drawn(GREEN, platform::BLACK), c.right ? std::ssize(step) : 0) << c.offset;
    EXPECT_EQ(drawn(platform::WHITE, RED), std::ranges::count(keyConfig[0].midiKeyNum, wrong));
    EXPECT_EQ(fake.statusTexts[2],
              wrong < 0 ? "PRACTICA: paso 1 de " + std::to_string(program->practice.steps.size())
                        : "SE OYE: " + heardNoteName(wrong));
    EXPECT_EQ(fake.timerRunning && fake.timerId == IDM_PRACTICE_TIMER, c.right);
    fakes::RecordingSurface paint(&fake.dcOps);  // a repaint keeps the step lit
    fake.dcOps.clear(), send(WM_PAINT, 0, reinterpret_cast<intptr_t>(static_cast<platform::Surface*>(&paint)));
    EXPECT_EQ(drawn(c.right ? GREEN : YELLOW, platform::BLACK), std::ssize(step));
  }
}

// Played through with one wrong note on step 4: the end brings the menus back, stops the
// microphone, shows the summary and keeps it for the selection.
TEST_F(Practice, WaitReachesTheEndWithASummaryKeptForTheSelection) {
  command(IDM_PRACTICE_WAIT);
  EXPECT_TRUE(program->menu.items[0].grayed && !program->menu.items[PRACTICE_MENU].grayed &&
              !GetSubMenu(program->menu, PRACTICE_MENU)->items.back().grayed);
  for (int step = 0; step < 15; ++step) {
    if (step == 3) hear({notes(step)[0] + 1});
    hear(notes(step)), tick();
  }
  EXPECT_EQ(fake.logOf("messageBox").back(),
            "messageBox Brenavo: Resultado de la practica|Practica terminada.\n\nBien: 14\nTarde: 0\n"
            "Mal: 1\nSin tocar: 0\n\nPasos fallados:\n  paso 4 (C): se oyo C#|0");
  EXPECT_EQ(saved(), "Bien: 14, Tarde: 0, Mal: 1, Sin tocar: 0; paso 4 (C): se oyo C#");
  EXPECT_TRUE(fake.logOf("audio.").back() == "audio.stop" &&
              std::ranges::none_of(program->menu.items, &MenuItem::grayed) && GetSubMenu(program->menu, PRACTICE_MENU)->items.back().grayed);
}

// Four clicks at the tempo, then one step a period: right, late, wrong, and missed for the rest.
TEST_F(Practice, TempoCountsInAndMarksEachStep) {
  fake.midiMessages.clear(), command(IDM_PRACTICE_TEMPO);
  for (int beat = 0; beat < 4; ++beat) tick();
  EXPECT_EQ(std::ranges::count_if(fake.midiMessages, [](uint32_t m) { return (m & 0xFF) == 0x99; }), 4);
  EXPECT_EQ(fake.statusTexts[2], "PRACTICA: paso 1 de 15");
  hear(notes(0), 1000 + 100), tick();  // the first step begins after four beats of 250 ms
  hear(notes(1), 1250 + 250), tick();
  hear({notes(2)[0] + 2}, 1500 + 10), hear(notes(2), 1500 + 20), tick();
  for (int step = 3; step < 15; ++step) tick();
  EXPECT_TRUE(saved().starts_with("Bien: 1, Tarde: 1, Mal: 1, Sin tocar: 12; paso 2 (-A): tarde; "
                                   "paso 3 (-B): se oyo C#; paso 4 (C): no se oyo; paso 5 (D)")) << saved();
  EXPECT_FALSE(isPractising(*program));
}

// Without a microphone "&Practicar" says so and nothing else happens; during a run it is refused.
// Stop, close, a new selection or the options end a practice quietly: no summary, nothing kept.
TEST_F(Practice, NoInputOrARunKeepsPracticeOutAndEveryOtherEndIsQuiet) {
  fake.audioInputs.clear(), fake.log.clear(), command(IDM_PRACTICE_WAIT);
  EXPECT_TRUE(fake.logOf("messageBox").size() == 1 && fake.logOf("menu.").empty() &&
              fake.logOf("window.").empty() && !isPractising(*program));
  fake.audioInputs = {"Microfono"}, command(IDPB_PLAY), command(IDM_PRACTICE_TEMPO);
  EXPECT_FALSE(isPractising(*program));
  for (std::pair<uint32_t, int> end : {std::pair{WM_COMMAND, IDM_PRACTICE_STOP}, {WM_COMMAND, IDPB_STOP},
       {WM_COMMAND, IDM_SCALE_CHROMATIC}, {WM_COMMAND, IDM_DIALOGBOX_OPTIONS}, {WM_DESTROY, 0}}) {
    program = CreateMainWindow(fake.services()), command(IDM_PRACTICE_TEMPO), tick(), fake.log.clear();
    send(end.first, static_cast<uintptr_t>(end.second));
    EXPECT_TRUE(!isPractising(*program) && !fake.timerRunning && fake.logOf("audio.stop").size() == 1 &&
                fake.logOf("messageBox").empty() && fake.logOf("store.string").empty()) << end.second;
  }
  EXPECT_EQ(program->sel.chromaticSel + fake.quitCode, 0);  // the chromatic one was chosen, then closed
}

