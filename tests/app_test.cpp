// The whole program driven by messages through the window procedure, on recording fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"

namespace brenavo {
namespace {

using Lines = std::vector<std::string>;

class App : public ::testing::Test {
 protected:
  void command(int id) { WindowFunc(*program, WM_COMMAND, static_cast<uintptr_t>(id), 0); }
  void tick() { WindowFunc(*program, WM_TIMER, IDM_PLAY_TIMER, 0); }
  int logged(const std::string& line) const {
    return static_cast<int>(std::count(fake.log.begin(), fake.log.end(), line));
  }
  // The label of the first major scale in the scales menu.
  std::string firstMajorScaleLabel() {
    Menu* scales = GetSubMenu(program->menu, 1);
    Menu* diatonic = scales ? GetSubMenu(*scales, 3) : nullptr;
    Menu* major = diatonic ? GetSubMenu(*diatonic, 0) : nullptr;
    return major ? major->items.at(0).label : "no such menu";
  }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
};

TEST_F(App, FirstRunShowsTheFirstMajorScaleInSingleNotesAtTheSlowestTempo) {
  const SelectionState& sel = program->sel;
  EXPECT_EQ((std::vector{sel.diatonicSel, sel.scpIndex, sel.formatSel, sel.scaleSteps, sel.vPos}),
            (std::vector{IDM_SCALE_1, 0, IDM_SCALE_NOTES, 15, 1}));
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: G mayor");
  EXPECT_EQ(logged("scroll.pos 1"), 1);
  EXPECT_EQ(fake.midiMessages.at(0), 0x000017C0u) << "the accordion voice";
}

// The next start loads the settings before it builds the menus, the status bar, the voice and
// the tempo bar.
TEST_F(App, StoredSettingsReachMenusStatusVoiceAndTempoBar) {
  for (auto [name, value] : {std::pair{"dBox_accKey", IDRB_ADG}, {"dBox_accKey2", 3},
                             {"dBox_midiVoice", 0}, {"z_diatonic", 213}, {"z__index", 3},
                             {"formatSelected", 202}, {"formatSelected2", 1}, {"playbackSpeed", 6}})
    fake.storedDwords[name] = value;
  fake.clearLog();
  fake.midiMessages.clear();
  program = CreateMainWindow(fake.services());
  EXPECT_EQ(firstMajorScaleLabel(), "escala de A mayor");
  EXPECT_EQ(fake.statusTexts[0], "TONO DE ACORDEON: A-D-G");
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: E mayor");
  EXPECT_EQ(fake.statusTexts[2], "FORMATO: terceras");
  EXPECT_EQ(fake.midiMessages.at(0), 0x000000C0u) << "the piano";
  EXPECT_EQ(logged("scroll.pos 6"), 1);
}

// Options, saved or cancelled, rebuild the menus, refresh the status bar and resend the voice.
TEST_F(App, OptionsRenameTheMenusAndResendTheVoiceEvenWhenCancelled) {
  fake.midiMessages.clear();
  fake.optionsOutcomes = {{false, {}}, {true, {IDRB_EAD, IDRB_OUT, IDRB_GRAND_PIANO}}};
  command(IDM_DIALOGBOX_OPTIONS);
  command(IDM_DIALOGBOX_OPTIONS);
  EXPECT_EQ(fake.midiMessages, (std::vector<uint32_t>{0x000017C0, 0x000000C0}));
  EXPECT_EQ(firstMajorScaleLabel(), "escala de E mayor");
  EXPECT_EQ(fake.statusTexts[1], "ESCALA: E mayor");
}

// Help, usage and about reach their viewers (which page is the help topics' own business).
TEST_F(App, HelpAndInformationCommandsOpenTheirViewers) {
  fake.clearLog();
  for (int id : {IDM_HELP, IDM_FAQ, IDM_HOTKEYS, IDM_USAGE, IDM_ABOUT, IDM_MTHEORY}) command(id);
  Lines viewers;
  for (const std::string& line : fake.log) viewers.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(viewers, (Lines{"help.display", "help.display", "help.display", "dialog.usage",
                            "dialog.about", "help.display"}));
}

// Ids next to the routed ranges reach nothing; only the low word names the command.
TEST_F(App, UnknownIdsChangeNothingAndOnlyTheLowWordCounts) {
  fake.clearLog();
  for (int id : {0, 101, 102, 103, 500, 507, 600, 605, 800, 805, 9999}) command(id);
  WindowFunc(*program, 0x0200, 0, 0);  // a message nobody handles
  EXPECT_TRUE(fake.log.empty());
  WindowFunc(*program, WM_COMMAND, (1u << 16) | 300u, 0);
  EXPECT_EQ(program->sel.chordSel, 300);
}

// The speed keys move the tempo bar by one and by five; stop ends a run.
TEST_F(App, TransportCommandsReachTheRun) {
  for (int id : {IDM_SPEED_PLUS_25, IDM_SPEED_PLUS_25, IDM_SPEED_PLUS_5, IDM_SPEED_MIN_25,
                 IDM_SPEED_MIN_5})
    command(id);
  EXPECT_EQ(program->sel.vPos, 6);
  command(IDPB_PLAY);
  tick();
  EXPECT_TRUE(fake.timerRunning);
  command(IDPB_STOP);
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_TRUE(fake.soundingNotes.empty());
}

// Exit asks, and only a yes closes: during a run the timer stops, nothing keeps sounding, the
// selection is saved and the program quits once; nothing reaches it afterwards, neither a tick
// already queued nor the close box.
TEST_F(App, ExitAsksAndYesStopsSilencesSavesAndQuitsOnce) {
  command(300);
  command(IDPB_PLAY);
  tick();
  fake.clearLog();
  fake.messageBoxAnswers = {IDNO, IDYES};
  command(IDM_EXIT);
  EXPECT_EQ(fake.log, (Lines{"messageBox Brenavo: |¿Quiere terminar con el Brenavo?|4"}));
  ASSERT_FALSE(fake.soundingNotes.empty());
  command(IDM_EXIT);
  EXPECT_FALSE(fake.timerRunning);
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_EQ(fake.storedDwords["z_chord"], 300);
  EXPECT_EQ(logged("window.postQuit 0"), 1);
  fake.clearLog();
  tick();
  WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_TRUE(fake.log.empty());
}

// The chromatic scale: 62 labels, 2 captions, 13 step numbers and 13 notes.
TEST_F(App, APaintMessageDrawsTheSelectionOnItsSurface) {
  command(IDM_SCALE_CHROMATIC);
  fakes::RecordingSurface surface;
  platform::Surface* target = &surface;
  WindowFunc(*program, WM_PAINT, 0, reinterpret_cast<intptr_t>(target));
  EXPECT_EQ(surface.opsOf(fakes::SurfaceOp::Kind::TextOut).size(), 62u + 2u + 13u + 13u);
}

}  // namespace
}  // namespace brenavo
