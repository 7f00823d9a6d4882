// MIDI packing, the output's life, and the transport's set-up at creation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/recording_platform.h"
#include "playback/midi.h"
#include "playback/transport.h"

namespace brenavo {
namespace {

using fakes::RecordingPlatform;

// The packed message as the four bytes it is sent as, lowest first.
std::vector<int> bytesOf(uint32_t packed) {
  return {static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
          static_cast<int>((packed >> 16) & 0xFF), static_cast<int>((packed >> 24) & 0xFF)};
}

class MidiTest : public ::testing::Test {
 protected:
  RecordingPlatform fake;
  Program program{fake.services()};
};

TEST_F(MidiTest, MessagesPackStatusChannelAndDataBytesLowestFirst) {
  MidiNoteOn(fake, CHANNEL_NUM, 60, VELOCITY);
  MidiNoteOff(fake, CHANNEL_NUM, 60, 0);
  MidiOutMessage(fake, 0xC0, CHANNEL_NUM, 72, 0);
  MidiOutMessage(fake, 0xC0, CHANNEL_NUM, 0, 0);
  MidiNoteOn(fake, 3, 64, 100);  // the channel is or-ed into the status byte

  ASSERT_EQ(fake.midiMessages.size(), 5u);
  EXPECT_EQ(bytesOf(fake.midiMessages[0]), (std::vector<int>{0x90, 0x3C, 0x7F, 0x00}));
  EXPECT_EQ(bytesOf(fake.midiMessages[1]), (std::vector<int>{0x80, 0x3C, 0x00, 0x00}));
  EXPECT_EQ(bytesOf(fake.midiMessages[2]), (std::vector<int>{0xC0, 0x48, 0x00, 0x00}));
  EXPECT_EQ(bytesOf(fake.midiMessages[3]), (std::vector<int>{0xC0, 0x00, 0x00, 0x00}));
  EXPECT_EQ(bytesOf(fake.midiMessages[4]), (std::vector<int>{0x93, 0x40, 0x64, 0x00}));
}

TEST_F(MidiTest, OpeningSelectsTheVoice) {
  program.sel.midiVoice = IDRB_PICCOLO;
  openMidiOutput(program);

  EXPECT_EQ(program.sel.midiDevExists, 1);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"midi.open", "midi.short 0x000048C0"}));

  program.sel.midiVoice = IDRB_GUITAR_STEEL;
  sendProgramChange(program);
  EXPECT_EQ(fake.logOf("midi.short").back(), "midi.short 0x000018C0");
}

TEST_F(MidiTest, AFailedOpenWarnsOnceAndSilencesEverySender) {
  fake.midiOpenSucceeds = false;
  program.sel.midiDevExists = 1;  // whatever it held before, the failure clears it
  openMidiOutput(program);

  EXPECT_EQ(program.sel.midiDevExists, 0);
  EXPECT_EQ(fake.log,
            (std::vector<std::string>{"midi.open", "beep",
                                      "messageBox Brenavo: ERROR|Control de MIDI no disponible.|48"}));

  fake.clearLog();
  sendProgramChange(program);
  program.seq.prevMidis[0] = 60;
  allNotesOff(program);
  EXPECT_TRUE(fake.midiMessages.empty());
  EXPECT_TRUE(fake.log.empty());

  closeMidiOutput(program);  // reset and close are called whatever the open gave
  EXPECT_EQ(fake.log, (std::vector<std::string>{"midi.reset", "midi.close"}));
}

TEST_F(MidiTest, ClosingResetsBeforeClosing) {
  openMidiOutput(program);
  MidiNoteOn(fake, CHANNEL_NUM, 67, VELOCITY);
  fake.clearLog();
  closeMidiOutput(program);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"midi.reset", "midi.close"}));
  EXPECT_TRUE(fake.soundingNotes.empty());
  EXPECT_FALSE(fake.midiIsOpen);
}

TEST_F(MidiTest, AllNotesOffSilencesTheFourRememberedSlotsInOrder) {
  program.sel.midiDevExists = 1;
  const int32_t notes[NOTE_SLOTS] = {66, 70, 73, 0};
  for (int slot = 0; slot < NOTE_SLOTS; ++slot) program.seq.prevMidis[slot] = notes[slot];
  allNotesOff(program);
  EXPECT_EQ(fake.midiMessages, (std::vector<uint32_t>{0x4280, 0x4680, 0x4980, 0x0080}));
}

TEST_F(MidiTest, TempoBarAndTransportControlsAreMadeAsTheWindowShowsThem) {
  program.sel.vPos = 7;
  initTempoScrollBar(program);
  EXPECT_EQ(fake.log, (std::vector<std::string>{"scroll.range 1 20", "scroll.pos 7"}));

  createTransportControls(program);
  ASSERT_EQ(fake.controls.size(), 5u);
  const platform::ControlSpec& frame = fake.controls[0];
  EXPECT_EQ(frame.id, IDC_CONTROLS_FRAME);
  EXPECT_EQ(std::string(frame.kind), "STATIC");
  EXPECT_EQ(std::string(frame.text), "Controles");
  EXPECT_EQ((std::vector<int>{frame.x, frame.y, frame.width, frame.height}),
            (std::vector<int>{285, 180, 80, 155}));

  const char* images[] = {"CtrlPlayBmp", "CtrlLoopBmp", "CtrlPauseBmp", "CtrlStopBmp"};
  for (int b = 0; b < 4; ++b) {
    const platform::ControlSpec& button = fake.controls[static_cast<size_t>(b + 1)];
    SCOPED_TRACE(images[b]);
    EXPECT_EQ(button.id, IDPB_PLAY + b);
    EXPECT_EQ(std::string(button.kind), "BUTTON");
    EXPECT_EQ(std::string(button.text), "");
    EXPECT_EQ(std::string(button.image), images[b]);
    EXPECT_EQ((std::vector<int>{button.x, button.y, button.width, button.height}),
              (std::vector<int>{300, 210 + 30 * b, 50, 25}));
    // Every button lies inside the frame.
    EXPECT_GE(button.x, frame.x);
    EXPECT_LE(button.x + button.width, frame.x + frame.width);
    EXPECT_GE(button.y, frame.y);
    EXPECT_LE(button.y + button.height, frame.y + frame.height);
  }
}

}  // namespace
}  // namespace brenavo
