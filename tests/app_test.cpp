// The whole program driven by messages through the window procedure, on recording fakes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"

using namespace brenavo;

using Lines = std::vector<std::string>;

struct App : ::testing::Test {
  void command(int id) { WindowFunc(*program, WM_COMMAND, static_cast<uintptr_t>(id), 0); }
  void tick() { WindowFunc(*program, WM_TIMER, IDM_PLAY_TIMER, 0); }
  // The first major scale in the menu, the three status texts, the voice sent and the tempo bar.
  std::string shown() {
    const Menu* major = GetSubMenu(*GetSubMenu(*GetSubMenu(program->menu, 1), 3), 0);
    return major->items.at(0).label + "|" + fake.statusTexts[0] + "|" + fake.statusTexts[1] + "|" +
           fake.statusTexts[2] + "|" + std::to_string(fake.midiMessages.back()) + "|" +
           fake.logOf("scroll.pos").back();
  }

  fakes::RecordingPlatform fake;
  std::unique_ptr<Program> program = CreateMainWindow(fake.services());
};

// The first run shows the first major scale in single notes at the slowest tempo, with the
// accordion (0x17C0); the next start loads the settings before it builds menus, status bar, voice
// and tempo bar; options, saved or cancelled, rebuild and refresh them and resend the voice.
TEST_F(App, SettingsAndOptionsReachMenusStatusVoiceAndTempoBar) {
  EXPECT_EQ(shown(), "escala de G mayor|TONO DE ACORDEON: G-C-F|ESCALA: G mayor|"
                     "FORMATO: notas sencillas|6080|scroll.pos 1");
  for (auto [name, value] : {std::pair{"dBox_accKey", IDRB_ADG}, {"dBox_accKey2", 3},
                             {"dBox_midiVoice", 0}, {"z_diatonic", 213}, {"z__index", 3},
                             {"formatSelected", 202}, {"formatSelected2", 1}, {"playbackSpeed", 6}})
    fake.storedDwords[name] = value;
  program = CreateMainWindow(fake.services());
  EXPECT_EQ(shown(), "escala de A mayor|TONO DE ACORDEON: A-D-G|ESCALA: E mayor|"
                     "FORMATO: terceras|192|scroll.pos 6");
  fake.midiMessages.clear(), fake.optionsOutcomes = {{false, {}}, {true, {IDRB_EAD, IDRB_OUT, IDRB_TANGO_ACC}}};
  command(IDM_DIALOGBOX_OPTIONS), command(IDM_DIALOGBOX_OPTIONS);
  EXPECT_EQ(fake.midiMessages, (std::vector<uint32_t>{0x000000C0, 0x000017C0}));
  EXPECT_EQ(shown(), "escala de E mayor|TONO DE ACORDEON: E-A-D|ESCALA: B mayor|"
                     "FORMATO: terceras|6080|scroll.pos 6");
}

// Help, usage and about reach their viewers, other ids and messages nothing; only the low word
// names the command. Stop ends a run. Exit asks, and only a yes closes: the run stops, nothing
// keeps sounding, the selection is saved and the program quits once; nothing reaches it
// afterwards, neither a queued tick nor the close box.
TEST_F(App, CommandsReachTheirViewersTheRunAndTheExit) {
  fake.log.clear();
  for (int id : {IDM_HELP, IDM_FAQ, IDM_HOTKEYS, IDM_MTHEORY, IDM_USAGE, IDM_ABOUT, 0, 100, 106, 500, 507,
                 600, 605, 800, 805, 9999})
    command(id);
  WindowFunc(*program, 0x0200, 0, 0);  // a message nobody handles
  EXPECT_TRUE(fake.logOf("help.display").size() == 4 && fake.log.size() == 6 &&
              (fake.logOf("dialog") == Lines{"dialog.usage", "dialog.about"}));
  WindowFunc(*program, WM_COMMAND, (1u << 16) | 300u, 0);
  command(IDPB_PLAY), tick();
  ASSERT_TRUE(program->sel.chordSel == 300 && fake.timerRunning && !fake.soundingNotes.empty());
  command(IDPB_STOP);
  EXPECT_FALSE(fake.timerRunning || !fake.soundingNotes.empty());
  command(IDPB_PLAY), tick(), fake.log.clear();
  fake.messageBoxAnswers = {IDNO, IDYES}, command(IDM_EXIT);
  EXPECT_EQ(fake.log, (Lines{"messageBox Brenavo: |¿Quiere terminar con el Brenavo?|4"}));
  ASSERT_FALSE(fake.soundingNotes.empty());
  command(IDM_EXIT);
  EXPECT_TRUE(!fake.timerRunning && fake.soundingNotes.empty() && fake.storedDwords["z_chord"] == 300);
  EXPECT_EQ(fake.logOf("window.postQuit"), Lines{"window.postQuit 0"});
  fake.log.clear(), tick(), WindowFunc(*program, WM_DESTROY, 0, 0);
  EXPECT_TRUE(fake.log.empty());
}
