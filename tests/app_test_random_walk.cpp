// A seeded walk of random messages through the window procedure; the playback timer's schedule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "playback/tick_schedule.h"
#include "selection/selection_rules.h"

using namespace brenavo;

// The first breach of what must hold after any message, or "".
static std::string breachOf(const Program& program) {
  const SelectionState& s = program.sel;
  if (!selectionConsistent(s) || selectedKind(s) == Kind::None) return "impossible selection";
  if (s.scaleSteps != stepsOfSelection(s)) return "step count";
  if (s.vPos < VERT_RANGE_MIN || s.vPos > VERT_RANGE_MAX) return "tempo out of range";
  const bool running = s.ctrlPlay || s.ctrlPause;
  for (const MenuItem& top : program.menu.items)
    if (top.grayed != running) return "menu bar state does not follow the transport";
  return "";
}

// Whether every note sounding is one a live press holds.
static bool onlyLiveSounds(const LiveState& live, const fakes::RecordingPlatform& fake) {
  return std::ranges::all_of(fake.soundingNotes, [&live](const auto& sounding) {
    return std::any_of(live.held, live.held + live.heldCount,
                       [&](const HeldButton& held) { return held.midi == sounding.first; });
  });
}

// Sends a random tick, transport or speed key, tempo bar move, menu command (menus open), options
// dialog, live mouse, key or focus message, or any id at all; true when nothing but live presses
// may sound afterwards.
static bool sendRandomMessage(Program& program, fakes::RecordingPlatform& fake, std::mt19937& random) {
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto oneOf = [&pick](std::initializer_list<int> ids) { return ids.begin()[pick(0, int(ids.size()) - 1)]; };
  auto command = [&program](int id) { return WindowFunc(program, WM_COMMAND, uintptr_t(id), 0), id; };
  const int choice = pick(0, 109);
  if (choice >= 100) {  // the mouse over the diagrams, the playing keys and the space bar
    const uint32_t message = static_cast<uint32_t>(
        oneOf({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP,
               static_cast<int>(WM_KILLFOCUS)}));
    const bool key = message == WM_KEYDOWN || message == WM_KEYUP;
    return WindowFunc(program, message, static_cast<uintptr_t>(key ? pick(0x10, 0x39) : 0),
                      key ? pick(0, 1) * KEY_WAS_DOWN : MAKELPARAM(pick(400, 750), pick(0, 530))), false;
  }
  if (choice < 30)  // a tick; the end of a run leaves nothing sounding
    return WindowFunc(program, WM_TIMER, IDM_PLAY_TIMER, 0), !program.sel.ctrlPlay && !program.sel.ctrlPause;
  if (choice < 50)  // pause and stop, the last two, leave nothing sounding
    return command(oneOf({IDPB_PLAY, IDPB_LOOP, IDPB_PAUSE, IDPB_STOP})) >= IDPB_PAUSE;
  if (choice < 60) return command(IDM_SPEED_PLUS_5 + pick(0, 3)), false;
  if (choice < 70) {
    const uintptr_t code = static_cast<uintptr_t>(pick(0, 8));
    return WindowFunc(program, WM_VSCROLL, code | static_cast<uintptr_t>(pick(0, 0xFFFF)) << 16, 0), false;
  }
  if (choice < 90 && !program.menu.items.at(0).grayed) {
    static constexpr int ranges[][2] = {{201, 204}, {210, 233}, {234, 269}, {270, 271},
                                        {300, 310}, {400, 435}, {501, 506}};
    const auto& range = ranges[pick(0, 6)];
    return command(pick(range[0], range[1])), false;
  }
  if (choice < 95) {
    fake.optionsOutcomes.push_back({pick(0, 1) == 1,
                                    {oneOf({-1, IDRB_GCF, IDRB_EAD, IDRB_FBE, IDRB_ADG}),
                                     oneOf({-1, IDRB_OUT, IDRB_IN, IDRB_MIXED}),
                                     oneOf({-1, 23, 72, 0, 24})}});
    return command(IDM_DIALOGBOX_OPTIONS), false;
  }
  fake.messageBoxAnswers = {IDNO};  // the exit question, should it come, is declined
  return command(pick(0, 13000)), false;
}

TEST(RandomWalk, HundredThousandMessagesKeepTheProgramCoherentAndSilentWhenStopped) {
  const char* chosen = std::getenv("BRENAVO_WALK_SEED");
  const unsigned seed = chosen ? static_cast<unsigned>(std::stoul(chosen)) : 20240611u;
  std::mt19937 random(seed);
  fakes::RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  for (int i = 0; i < 100000; ++i) {
    const bool mustBeSilent = sendRandomMessage(*program, fake, random);
    ASSERT_EQ(breachOf(*program), "") << "after message " << i << ", seed " << seed;
    ASSERT_TRUE(!mustBeSilent || onlyLiveSounds(program->live, fake)) << "sounding after " << i;
    if (i % 1000 == 0) fake.log.clear(), fake.midiMessages.clear(), fake.dcOps.clear();
  }
  WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_TRUE(fake.soundingNotes.empty()) << "seed " << seed;
}

// Tick k is due at start + k periods however late the earlier ones came; after a stall the next is
// the first not a whole period overdue (no burst). A loop restarted while a tick is handled stays
// on that tick's beat; a tempo change from the user counts from now.
TEST(TickScheduleTest, TicksStayOnTheBeatOfTheirStart) {
  TickSchedule s;
  s.start(1000, 250);
  std::vector<int64_t> seen{s.delayFrom(1000)};
  s.beginTick(), s.endTick(1260), seen.push_back(s.delayFrom(1260));  // tick 1, 10 late
  s.beginTick(), s.endTick(2800);  // tick 2, a second late: ticks 3 to 6 skipped
  seen.insert(seen.end(), {s.dueAt(), s.delayFrom(2800)});
  s.beginTick(), s.start(2757, 100), s.endTick(2757), seen.push_back(s.dueAt());  // tick 7, due at 2750
  s.start(2800, 300), seen.push_back(s.dueAt());
  EXPECT_EQ(seen, (std::vector<int64_t>{250, 240, 2750, 0, 2850, 3100}));
}
