// The whole program driven by messages through the window procedure, on recording fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "model/tables.h"

namespace brenavo {
namespace {

using fakes::RecordingPlatform;

// Index of the first log line starting with prefix, or -1.
int firstIndexOf(const std::vector<std::string>& log, const std::string& prefix) {
  for (size_t i = 0; i < log.size(); ++i)
    if (log[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
  return -1;
}

int32_t command(Program& program, int id) {
  return WindowFunc(program, WM_COMMAND, static_cast<uintptr_t>(id), 0);
}

void tick(Program& program) { WindowFunc(program, WM_TIMER, IDM_PLAY_TIMER, 0); }

TEST(Creation, BringsEverythingUpInOrder) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  const auto& log = fake.log;
  const std::vector<std::string> order = {
      "help.initialize", "status.create", "store.open", "menu.redraw", "status.text 0",
      "midi.open",       "scroll.range",  "scroll.pos", "controls.create 600", "window.screenSize"};
  int previous = -1;
  for (const std::string& step : order) {
    int at = firstIndexOf(log, step);
    ASSERT_GE(at, 0) << step;
    EXPECT_GT(at, previous) << step << " came too early";
    previous = at;
  }
  // The status bar refresh follows the menu rebuild; both follow the settings load.
  EXPECT_GT(firstIndexOf(log, "status.text 1 ESCALA: G mayor"), firstIndexOf(log, "store.close"));
}

TEST(Creation, FirstRunComesUpWithTheFirstMajorScaleInSingleNotes) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  const SelectionState& sel = program->sel;
  EXPECT_EQ(sel.diatonicSel, IDM_SCALE_1);
  EXPECT_EQ(sel.scpIndex, 0);
  EXPECT_EQ(sel.formatSel, IDM_SCALE_NOTES);
  EXPECT_EQ(sel.scaleSteps, 15);
  EXPECT_EQ(sel.vPos, 1);
  EXPECT_EQ(sel.midiDevExists, 1);
  EXPECT_EQ(fake.statusTexts[0], "TONO DE ACORDEON: G-C-F");
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: G mayor");
  EXPECT_EQ(fake.statusTexts[2], "FORMATO: notas sencillas");
  EXPECT_EQ(fake.statusTexts[4], "DIRECCION: pull");
  EXPECT_EQ(fake.scrollMin, 1);
  EXPECT_EQ(fake.scrollMax, 20);
  EXPECT_EQ(fake.scrollPos, 1);
  // The accordion voice is selected right after the output opens.
  ASSERT_FALSE(fake.midiMessages.empty());
  EXPECT_EQ(fake.midiMessages.front(), 0x000017C0u);
  // The first run stores the strings and the seventeen values.
  EXPECT_EQ(fake.storedStrings["app_Version"], "2.0.1");
  EXPECT_EQ(fake.storedDwords.size(), 17u);
  EXPECT_EQ(fake.storedDwords["scaleSteps"], 0);
}

TEST(Creation, WithoutMidiOutputWarnsOnceBeforeShowingAndRunsSilently) {
  RecordingPlatform fake;
  fake.midiOpenSucceeds = false;
  auto program = CreateMainWindow(fake.services());
  EXPECT_EQ(program->sel.midiDevExists, 0);
  EXPECT_EQ(fake.logOf("beep").size(), 1u);
  auto boxes = fake.logOf("messageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "messageBox Brenavo: ERROR|Control de MIDI no disponible.|48");
  EXPECT_LT(firstIndexOf(fake.log, "beep"), firstIndexOf(fake.log, "messageBox"));
  EXPECT_EQ(firstIndexOf(fake.log, "window.show"), -1);

  // A whole run plays silently and the highlights still move.
  command(*program, IDPB_PLAY);
  for (int i = 0; i < 16; ++i) tick(*program);
  EXPECT_TRUE(fake.midiMessages.empty());
  EXPECT_FALSE(fake.dcOps.empty());
  EXPECT_EQ(program->sel.ctrlPlay, 0);
  // Shutdown completes normally.
  WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_EQ(fake.quitCode, 0);
}

TEST(Destruction, TakesEverythingDownSavesAndQuitsOnce) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  command(*program, 300);  // a chord type, to see it saved
  fake.clearLog();
  WindowFunc(*program, WM_DESTROY, 0, 0);
  const auto& log = fake.log;
  const std::vector<std::string> order = {"midi.reset", "midi.close", "help.uninitialize",
                                          "store.open", "store.write", "store.close",
                                          "window.postQuit 0"};
  int previous = -1;
  for (const std::string& step : order) {
    int at = firstIndexOf(log, step);
    ASSERT_GE(at, 0) << step;
    EXPECT_GT(at, previous) << step;
    previous = at;
  }
  EXPECT_EQ(fake.storedDwords["z_chord"], 300);
  EXPECT_EQ(fake.storedDwords["scaleSteps"], 12);
  // A close box after the exit command does not run the branch again.
  fake.clearLog();
  WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_TRUE(fake.log.empty());
}

TEST(Destruction, DuringARunStopsTheTimerAndLeavesNothingSounding) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  command(*program, IDPB_PLAY);
  tick(*program);
  WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_TRUE(fake.soundingNotes.empty());
  // A tick that was already queued changes nothing afterwards.
  fake.clearLog();
  tick(*program);
  EXPECT_TRUE(fake.log.empty());
}

TEST(Settings, ASecondRunComesBackAsTheFirstOneLeft) {
  RecordingPlatform fake;
  {
    auto first = CreateMainWindow(fake.services());
    fake.optionsOutcomes.push_back({true, {IDRB_ADG, IDRB_MIXED, IDRB_GRAND_PIANO}});
    command(*first, IDM_DIALOGBOX_OPTIONS);
    command(*first, IDM_SCALE_THIRDS);
    command(*first, 213);  // D major
    command(*first, IDM_SPEED_PLUS_25);
    WindowFunc(*first, WM_DESTROY, 0, 0);
  }
  fake.clearLog();
  fake.midiMessages.clear();
  auto second = CreateMainWindow(fake.services());
  const SelectionState& sel = second->sel;
  EXPECT_EQ(sel.keySel, IDRB_ADG);
  EXPECT_EQ(sel.keySel2, 3);
  EXPECT_EQ(sel.direcSel2, 2);
  EXPECT_EQ(sel.midiVoice, 0);
  EXPECT_EQ(sel.formatSel, IDM_SCALE_THIRDS);
  EXPECT_EQ(sel.diatonicSel, 213);
  EXPECT_EQ(sel.scpIndex, 3);
  EXPECT_EQ(sel.scaleSteps, 15);
  EXPECT_EQ(sel.vPos, 6);
  EXPECT_EQ(fake.scrollPos, 6);
  // In A-D-G the scale on row 3 is E major, in thirds, both directions.
  EXPECT_EQ(fake.statusTexts[0], "TONO DE ACORDEON: A-D-G");
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: E mayor");
  EXPECT_EQ(fake.statusTexts[2], "FORMATO: terceras");
  EXPECT_EQ(fake.statusTexts[4], "DIRECCION: pull/push");
  EXPECT_EQ(fake.midiMessages.front(), 0x000000C0u);  // piano
}

TEST(Commands, EveryCommandAnswersZeroAndUnknownIdsChangeNothing) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  const SelectionState before = program->sel;
  fake.clearLog();
  for (int id : {0, 1, 101, 102, 103, 205, 227, 233, 272, 311, 436, 507, 600, 605, 805, 9999})
    EXPECT_EQ(command(*program, id), 0) << id;
  EXPECT_EQ(program->sel.diatonicSel, before.diatonicSel);
  EXPECT_EQ(program->sel.scaleSteps, before.scaleSteps);
  EXPECT_TRUE(fake.log.empty());
  EXPECT_EQ(WindowFunc(*program, 0x0200, 0, 0), 0);  // a message nobody handles
}

TEST(Commands, OnlyTheLowWordOfTheFirstParameterNamesTheCommand) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  WindowFunc(*program, WM_COMMAND, (1u << 16) | 300u, 0);
  EXPECT_EQ(program->sel.chordSel, 300);
}

TEST(Commands, ExitAsksAndOnlyYesEndsTheProgram) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  fake.clearLog();
  fake.messageBoxAnswers = {IDNO};
  command(*program, IDM_EXIT);
  ASSERT_EQ(fake.logOf("messageBox").size(), 1u);
  EXPECT_EQ(fake.logOf("messageBox")[0], "messageBox Brenavo: |¿Quiere terminar con el Brenavo?|4");
  EXPECT_EQ(fake.quitCode, -1);
  EXPECT_TRUE(fake.logOf("store.").empty());

  fake.messageBoxAnswers = {IDYES};
  command(*program, IDM_EXIT);
  EXPECT_EQ(fake.quitCode, 0);
  EXPECT_FALSE(fake.logOf("store.write").empty());
}

TEST(Commands, OptionsRebuildMenusRefreshStatusAndResendTheVoiceEvenWhenCancelled) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  fake.clearLog();
  fake.midiMessages.clear();
  command(*program, IDM_DIALOGBOX_OPTIONS);  // the fake cancels
  int dialog = firstIndexOf(fake.log, "dialog.options");
  int menus = firstIndexOf(fake.log, "menu.redraw");
  int status = firstIndexOf(fake.log, "status.text 0");
  int voice = firstIndexOf(fake.log, "midi.short 0x000017C0");
  ASSERT_GE(dialog, 0);
  EXPECT_LT(dialog, menus);
  EXPECT_LT(menus, status);
  EXPECT_LT(status, voice);
  EXPECT_EQ(program->sel.keySel, IDRB_GCF);
}

TEST(Commands, ChoosingATuningRenamesTheMenusAndKeepsTheSelection) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  fake.optionsOutcomes.push_back({true, {IDRB_EAD, IDRB_OUT, IDRB_TANGO_ACC}});
  command(*program, IDM_DIALOGBOX_OPTIONS);
  Menu* scales = GetSubMenu(program->menu, 1);
  ASSERT_NE(scales, nullptr);
  Menu* diatonic = GetSubMenu(*scales, 3);
  ASSERT_NE(diatonic, nullptr);
  Menu* major = GetSubMenu(*diatonic, 0);
  ASSERT_NE(major, nullptr);
  EXPECT_EQ(major->items[0].label, "escala de E mayor");
  EXPECT_EQ(major->items[0].id, 210);
  EXPECT_EQ(program->sel.diatonicSel, 210);
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: E mayor");
}

TEST(Commands, HelpAndInformationCommandsOpenTheirTargets) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  for (int id : {IDM_HELP, IDM_FAQ, IDM_HOTKEYS, IDM_MTHEORY, IDM_USAGE, IDM_ABOUT})
    command(*program, id);
  EXPECT_EQ(fake.helpTargets,
            (std::vector<std::string>{"brenavo.chm", "brenavo.chm::brv_intro_faq.htm",
                                      "brenavo.chm::brv_intro_hotkeys.htm",
                                      "brenavo.chm::brv_musicTheory_intro.htm"}));
  EXPECT_EQ(fake.logOf("dialog.usage").size(), 1u);
  EXPECT_EQ(fake.logOf("dialog.about").size(), 1u);
  EXPECT_NE(fake.lastUsageText.find("ACUERDO DE USO"), std::string::npos);
}

TEST(Playback, SelectionAndPaintAgreeOnTheListing) {
  RecordingPlatform fake;
  auto program = CreateMainWindow(fake.services());
  command(*program, IDM_SCALE_CHROMATIC);
  fakes::RecordingSurface surface;
  WindowFunc(*program, WM_PAINT, 0, reinterpret_cast<intptr_t>(static_cast<platform::Surface*>(&surface)));
  // 62 labels, 2 captions, 13 step numbers and 13 notes.
  EXPECT_EQ(surface.opsOf(fakes::SurfaceOp::Kind::TextOut).size(), 62u + 2u + 13u + 13u);
}

}  // namespace
}  // namespace brenavo
