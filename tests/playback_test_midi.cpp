// MIDI packing, the output's life, and the transport's controls.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "fakes/recording_platform.h"
#include "playback/midi.h"
#include "playback/transport.h"

namespace brenavo {
namespace {

using Log = std::vector<std::string>;

// The packed message as the four bytes it is sent as, lowest first.
std::vector<int> bytesOf(uint32_t packed) {
  return {int(packed & 0xFF), int(packed >> 8 & 0xFF), int(packed >> 16 & 0xFF), int(packed >> 24)};
}

TEST(Midi, MessagesPackStatusChannelAndDataBytesLowestFirst) {
  fakes::RecordingPlatform fake;
  MidiNoteOn(fake, CHANNEL_NUM, 60, VELOCITY);
  MidiNoteOff(fake, CHANNEL_NUM, 60, 0);
  MidiOutMessage(fake, 0xC0, CHANNEL_NUM, 72, 0);
  MidiOutMessage(fake, 0xC0, CHANNEL_NUM, 0, 0);
  MidiNoteOn(fake, 3, 64, 100);  // the channel is or-ed into the status byte
  const std::vector<std::vector<int>> expected = {
      {0x90, 0x3C, 0x7F, 0x00}, {0x80, 0x3C, 0x00, 0x00}, {0xC0, 0x48, 0x00, 0x00},
      {0xC0, 0x00, 0x00, 0x00}, {0x93, 0x40, 0x64, 0x00}};
  ASSERT_EQ(fake.midiMessages.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(bytesOf(fake.midiMessages[i]), expected[i]) << i;
}

TEST(Midi, OpeningSelectsTheVoiceAndClosingResetsFirst) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  program.sel.midiVoice = IDRB_PICCOLO;
  openMidiOutput(program);
  EXPECT_EQ(program.sel.midiDevExists, 1);
  program.sel.midiVoice = IDRB_GUITAR_STEEL;
  sendProgramChange(program);
  closeMidiOutput(program);
  EXPECT_EQ(fake.log, (Log{"midi.open", "midi.short 0x000048C0", "midi.short 0x000018C0",
                           "midi.reset", "midi.close"}));
}

TEST(Midi, AFailedOpenWarnsOnceAndSilencesEverySender) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  fake.midiOpenSucceeds = false;
  program.sel.midiDevExists = 1;  // whatever it held before, the failure clears it
  openMidiOutput(program);
  EXPECT_EQ(program.sel.midiDevExists, 0);
  EXPECT_EQ(fake.log, (Log{"midi.open", "beep",
                           "messageBox Brenavo: ERROR|Control de MIDI no disponible.|48"}));

  fake.clearLog();
  sendProgramChange(program);
  program.seq.prev[0].midi = 60;
  allNotesOff(program);
  EXPECT_TRUE(fake.midiMessages.empty());
  closeMidiOutput(program);  // reset and close are called whatever the open gave
  EXPECT_EQ(fake.log, (Log{"midi.reset", "midi.close"}));
}

TEST(Transport, TempoBarAndFourButtonsInsideTheControlsFrame) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  program.sel.vPos = 7;
  initTempoScrollBar(program);
  EXPECT_EQ(fake.log, (Log{"scroll.range 1 20", "scroll.pos 7"}));

  createTransportControls(program);
  ASSERT_EQ(fake.controls.size(), 5u);
  const platform::ControlLayout& frame = fake.controls[0];
  EXPECT_EQ((std::tuple{frame.id, std::string(frame.text)}),
            (std::tuple{IDC_CONTROLS_FRAME, std::string("Controles")}));
  const char* images[] = {"CtrlPlayBmp", "CtrlLoopBmp", "CtrlPauseBmp", "CtrlStopBmp"};
  int previousBottom = frame.y;
  for (size_t b = 0; b < 4; ++b) {
    const platform::ControlLayout& button = fake.controls[b + 1];
    EXPECT_EQ((std::tuple{button.id, std::string(button.image)}),
              (std::tuple{IDPB_PLAY + int(b), std::string(images[b])}));
    EXPECT_TRUE(button.x >= frame.x && button.x + button.width <= frame.x + frame.width &&
                button.y >= frame.y && button.y + button.height <= frame.y + frame.height) << b;
    EXPECT_GE(button.y, previousBottom) << b;  // one under the other, none overlapping
    previousBottom = button.y + button.height;
  }
}

}  // namespace
}  // namespace brenavo
