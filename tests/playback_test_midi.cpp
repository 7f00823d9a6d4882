// MIDI packing, the output's life, and the transport's controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "playback/midi.h"
#include "playback/transport.h"

namespace brenavo {
namespace {

using Log = std::vector<std::string>;

class MidiAndControls : public ::testing::Test {
 protected:
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
};

// A message packs status or channel, note and velocity from the lowest byte up; notes go out
// on channel 0 at full velocity.
TEST_F(MidiAndControls, OpeningSelectsTheVoiceAndClosingResetsFirst) {
  program.sel.midiVoice = IDRB_PICCOLO;
  openMidiOutput(program);
  MidiNoteOn(fake, CHANNEL_NUM, 60, VELOCITY);
  MidiNoteOff(fake, 3, 64, 0);
  closeMidiOutput(program);
  EXPECT_EQ(fake.log, (Log{"midi.open", "midi.short 0x000048C0", "midi.short 0x007F3C90",
                           "midi.short 0x00004083", "midi.reset", "midi.close"}));
}

TEST_F(MidiAndControls, AFailedOpenWarnsOnceAndSilencesEverySender) {
  fake.midiOpenSucceeds = false;
  program.sel.midiDevExists = 1;  // whatever it held before, the failure clears it
  openMidiOutput(program);
  program.seq.prev[0].midi = 60;
  sendProgramChange(program);
  allNotesOff(program);
  closeMidiOutput(program);  // reset and close whatever the open gave
  EXPECT_EQ(fake.log, (Log{"midi.open", "beep",
                           "messageBox Brenavo: ERROR|Control de MIDI no disponible.|48",
                           "midi.reset", "midi.close"}));
}

// The tempo bar, then the frame "Controles" holding play, loop, pause and stop one under another.
TEST_F(MidiAndControls, TempoBarAndFourButtonsInsideTheirFrame) {
  program.sel.vPos = 7;
  initTempoScrollBar(program);
  createTransportControls(program);
  EXPECT_EQ(fake.log, (Log{"scroll.range 1 20", "scroll.pos 7", "controls.create 600",
                           "controls.create 601", "controls.create 602", "controls.create 603",
                           "controls.create 604"}));
  const platform::ControlLayout& frame = fake.controls.at(0);
  EXPECT_STREQ(frame.text, "Controles");
  const char* images[4] = {"CtrlPlayBmp", "CtrlLoopBmp", "CtrlPauseBmp", "CtrlStopBmp"};
  for (int b = 0, top = frame.y; b < 4; ++b) {
    const platform::ControlLayout& button = fake.controls.at(b + 1);
    EXPECT_STREQ(button.image, images[b]);
    EXPECT_TRUE(button.y >= top && button.x >= frame.x && button.y + button.height <= frame.y +
                frame.height && button.x + button.width <= frame.x + frame.width) << b;
    top = button.y + button.height;
  }
}

}  // namespace
}  // namespace brenavo
