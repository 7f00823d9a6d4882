// The MIDI output's life, and the transport's controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/recording_platform.h"
#include "playback/midi.h"
#include "playback/transport.h"

using namespace brenavo;

// A failed open warns once and silences every sender; an open selects the voice (status and
// channel, then the program, from the lowest byte up) and closing resets first. The tempo
// bar, then the frame "Controles" holding play, loop, pause and stop one under another.
// With no output, every run seeks it again without a word; once one is found, the voice is
// selected before the run's first note, and later runs seek nothing.
TEST(MidiAndControls, OutputLifeTempoBarButtonsAndARunSeekingAMissingOutput) {
  fakes::RecordingPlatform fake;
  Program program{fake.services()};
  program.sel.midiVoice = IDRB_PICCOLO, program.sel.midiDevExists = 1;  // a failure clears it
  fake.midiOpenSucceeds = false, openMidiOutput(program);
  sendProgramChange(program), allNotesOff(program), closeMidiOutput(program);  // reset and close anyway
  fake.midiOpenSucceeds = true, openMidiOutput(program), closeMidiOutput(program);
  EXPECT_EQ(fake.log, (std::vector<std::string>{
                          "midi.open", "beep", "messageBox Brenavo: ERROR|Control de MIDI no "
                          "disponible.|48", "midi.reset", "midi.close", "midi.open",
                          "midi.short 0x000048C0", "midi.reset", "midi.close"}));
  program.sel.vPos = 7, initTempoScrollBar(program), createTransportControls(program);
  EXPECT_EQ((std::tuple{fake.scrollMin, fake.scrollMax, fake.scrollPos}), (std::tuple{1, 20, 7}));
  const std::vector<platform::ControlLayout>& c = fake.controls;  // the frame, then the buttons
  EXPECT_STREQ(c.at(0).text, "Controles");
  for (size_t b = 1; b < 5; ++b)  // one under another inside the frame
    EXPECT_TRUE(c.at(b).id == 600 + int(b) && c[b].y >= c[b - 1].y + (b > 1 ? c[b - 1].height : 0) &&
                c[b].y + c[b].height <= c[0].y + c[0].height) << b;
  program.sel.scaleSteps = 15, fake.midiOpenSucceeds = false, openMidiOutput(program);
  for (bool found : {false, true, true}) {
    const bool seeks = !program.sel.midiDevExists;
    fake.midiOpenSucceeds = found, fake.log.clear();
    handleTransportCommand(program, IDPB_PLAY), handleTransportCommand(program, IDPB_STOP);
    std::vector<std::string> expected;
    if (seeks) expected.push_back("midi.open");
    if (seeks && found) expected.push_back("midi.short 0x000048C0");
    const std::vector<std::string> midi = fake.logOf("midi.");
    EXPECT_EQ(std::vector(midi.begin(), midi.begin() + std::min(midi.size(), expected.size())), expected);
    EXPECT_EQ(midi.size() > expected.size(), found);  // the run sounds once there is an output
    EXPECT_TRUE(fake.logOf("messageBox").empty() && fake.logOf("beep").empty());
  }
}
