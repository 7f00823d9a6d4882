// Long seeded walks of random messages through the window procedure, checking after each
// message that the program's state stays coherent and that nothing is left sounding.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "playback/tick_schedule.h"
#include "selection/selection_rules.h"

namespace brenavo {
namespace {

using fakes::RecordingPlatform;

// Everything that must hold after any message; returns a description of the first breach.
std::string checkInvariants(const Program& program) {
  const SelectionState& s = program.sel;
  if (!selectionConsistent(s)) return "a selection the commands could not make";
  if (selectedKind(s) == Kind::None) return "a kind must be selected";
  if (s.scaleSteps != stepsOfSelection(s)) return "step count";
  if (s.vPos < VERT_RANGE_MIN || s.vPos > VERT_RANGE_MAX) return "tempo out of range";
  if (s.scalePoint < 0) return "step pointer below zero";
  const bool running = s.ctrlPlay || s.ctrlPause;
  for (const MenuItem& top : program.menu.items)
    if (top.grayed != running) return "menu bar state does not follow the transport";
  return "";
}

class Walker {
 public:
  explicit Walker(unsigned seed) : random_(seed) {}

  // Sends one random message. Returns true when it was a moment at which nothing may sound.
  bool step(Program& program, RecordingPlatform& fake) {
    const int choice = pick(0, 99);
    const bool menuOpen = !program.menu.items.empty() && !program.menu.items[0].grayed;
    if (choice < 30) {
      WindowFunc(program, WM_TIMER, IDM_PLAY_TIMER, 0);
      return !program.sel.ctrlPlay && !program.sel.ctrlPause;
    }
    if (choice < 50) {
      const int id = IDPB_PLAY + pick(0, 3);
      command(program, id);
      return id == IDPB_STOP || id == IDPB_PAUSE;
    }
    if (choice < 60) {
      command(program, IDM_SPEED_PLUS_5 + pick(0, 3));
    } else if (choice < 70) {
      const uintptr_t code = static_cast<uintptr_t>(pick(0, 8));
      const uintptr_t thumb = static_cast<uintptr_t>(pick(0, 0xFFFF));
      WindowFunc(program, WM_VSCROLL, code | (thumb << 16), 0);
    } else if (choice < 90 && menuOpen) {
      command(program, randomMenuCommand());
    } else if (choice < 95) {
      queueOptionsOutcome(fake);
      command(program, IDM_DIALOGBOX_OPTIONS);
    } else {
      fake.messageBoxAnswers = {IDNO};  // the exit question, should it come, is declined
      command(program, pick(0, 13000));  // anything at all, known or not
    }
    return false;
  }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  static void command(Program& program, int id) {
    WindowFunc(program, WM_COMMAND, static_cast<uintptr_t>(id), 0);
  }

  int randomMenuCommand() {
    static constexpr int ranges[][2] = {{201, 204}, {210, 233}, {234, 269}, {270, 271},
                                        {300, 310}, {400, 435}, {501, 506}};
    const auto& range = ranges[pick(0, 6)];
    return pick(range[0], range[1]);
  }

  void queueOptionsOutcome(RecordingPlatform& fake) {
    static constexpr int voices[] = {23, 72, 0, 24, -1};
    platform::OptionsOutcome outcome;
    outcome.saved = pick(0, 1) == 1;
    outcome.checks.tuning = pick(0, 4) == 4 ? -1 : IDRB_GCF + pick(0, 3);
    outcome.checks.direction = pick(0, 3) == 3 ? -1 : IDRB_OUT + pick(0, 2);
    outcome.checks.voice = voices[pick(0, 4)];
    fake.optionsOutcomes.push_back(outcome);
  }

  std::mt19937 random_;
};

// The walk of a fixed seed, or of the seed in BRENAVO_WALK_SEED.
unsigned walkSeed() {
  const char* chosen = std::getenv("BRENAVO_WALK_SEED");
  if (chosen == nullptr) return 20240611;
  const unsigned seed = static_cast<unsigned>(std::strtoul(chosen, nullptr, 10));
  std::printf("random walk seed %u from BRENAVO_WALK_SEED\n", seed);
  return seed;
}

TEST(RandomWalk, HundredThousandMessagesKeepTheProgramCoherentAndSilentWhenStopped) {
  const unsigned seed = walkSeed();
  SCOPED_TRACE("seed " + std::to_string(seed));
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  Walker walker(seed);
  for (int i = 0; i < 100000; ++i) {
    const bool mustBeSilent = walker.step(*program, fake);
    const std::string breach = checkInvariants(*program);
    ASSERT_EQ(breach, "") << "after message " << i << ", seed " << seed;
    if (mustBeSilent) {
      ASSERT_TRUE(fake.soundingNotes.empty()) << "note left sounding after message " << i
                                              << ", seed " << seed;
    }
    if (fake.log.size() > 10000) fake.clearLog();
    if (fake.midiMessages.size() > 10000) fake.midiMessages.clear();
    fake.dcOps.clear();
  }
  WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_TRUE(fake.soundingNotes.empty()) << "seed " << seed;
}

// A timer on a simulated clock that keeps the program's timer requests on a schedule, the
// way the desktop's timer does.
class SimulatedTimer {
 public:
  SimulatedTimer(Program& program, RecordingPlatform& fake) : program_(program), fake_(fake) {}

  // Delivers the next tick `lateNs` after it is due. Returns the tick's due time.
  int64_t deliverNext(int64_t lateNs) {
    syncRequests();
    const int64_t due = schedule_.dueAt();
    now_ = due + lateNs;
    schedule_.beginTick();
    WindowFunc(program_, WM_TIMER, IDM_PLAY_TIMER, 0);
    syncRequests();
    schedule_.endTick(now_);
    return due;
  }

  const TickSchedule& schedule() const { return schedule_; }

 private:
  // Picks up a timer (re)start the program asked for since the last look.
  void syncRequests() {
    if (fake_.timerStarts != seenStarts_) {
      seenStarts_ = fake_.timerStarts;
      schedule_.start(now_, static_cast<int64_t>(fake_.timerPeriod) * 1'000'000);
    }
  }

  Program& program_;
  RecordingPlatform& fake_;
  TickSchedule schedule_;
  int64_t now_ = 0;
  int seenStarts_ = 0;
};

// Ten hours of looping at the fastest tempo on a simulated clock, each tick delivered up to
// 8 ms late: the run restarts every sixteen ticks exactly on the beat, nothing is left
// sounding, and the schedule has not drifted at the end.
TEST(Soak, TenHoursOfLoopingStayOnTheBeatAndLeaveNothingSounding) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  const int64_t periodNs = 250'000'000;
  const int64_t ticks = 10LL * 3600 * 4;
  std::mt19937 random(12345);
  std::uniform_int_distribution<int64_t> lateness(0, 8'000'000);

  WindowFunc(*program, WM_COMMAND, IDPB_LOOP, 0);
  SimulatedTimer timer(*program, fake);
  int runs = 0;
  for (int64_t k = 1; k <= ticks; ++k) {
    const int pointerBefore = program->sel.scalePoint;
    const int64_t due = timer.deliverNext(lateness(random));
    ASSERT_EQ(due, k * periodNs) << "tick " << k << " is off the beat";
    if (program->sel.scalePoint < pointerBefore) {
      ++runs;
      ASSERT_TRUE(fake.timerRunning);
    }
    // The fakes keep everything; only the last stretch matters here.
    if (fake.log.size() > 2000) fake.log.erase(fake.log.begin(), fake.log.begin() + 1000);
    if (fake.midiMessages.size() > 1000) fake.midiMessages.clear();
    fake.dcOps.clear();
  }
  EXPECT_EQ(runs, static_cast<int>(ticks / 16));
  EXPECT_EQ(timer.schedule().dueAt(), (ticks + 1) * periodNs);
  WindowFunc(*program, WM_COMMAND, IDPB_STOP, 0);
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_FALSE(fake.timerRunning);
}

TEST(TickScheduleTest, LateDeliveriesDoNotShiftLaterTicksAndMissedOnesAreNotBurst) {
  TickSchedule schedule;
  schedule.start(1000, 250);
  EXPECT_EQ(schedule.delayFrom(1000), 250);
  schedule.beginTick();
  schedule.endTick(1260);  // tick 1, 10 late
  EXPECT_EQ(schedule.dueAt(), 1500);
  EXPECT_EQ(schedule.delayFrom(1260), 240);
  schedule.beginTick();
  schedule.endTick(1500);  // tick 2 on time
  // A stall of a whole second: tick 3 is delivered late, the missed ones are skipped.
  schedule.beginTick();
  schedule.endTick(2800);
  EXPECT_GT(schedule.dueAt(), 2800 - 250);
  EXPECT_EQ((schedule.dueAt() - 1000) % 250, 0);
  EXPECT_EQ(schedule.delayFrom(5000), 0);
}

TEST(TickScheduleTest, ARestartDuringATickCountsFromThatTicksDueTimeAndOtherwiseFromNow) {
  TickSchedule schedule;
  schedule.start(0, 100);
  schedule.beginTick();          // tick 1, due at 100
  schedule.start(107, 100);      // a loop starting again while the tick is handled
  schedule.endTick(107);
  EXPECT_EQ(schedule.dueAt(), 200);
  schedule.start(250, 300);      // a tempo change from the user
  EXPECT_EQ(schedule.dueAt(), 550);
}

}  // namespace
}  // namespace brenavo
