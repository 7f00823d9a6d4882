// The embedded synthesizer heard through a buffer: what it plays, at what pitch and
// loudness, and that it falls silent when told to.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "model/ids.h"
#include "platform/fluidsynth/fluid_midi_device.h"
#include "spectrum.h"

namespace brenavo::fluid {
namespace {

namespace fs = std::filesystem;
using sound::fundamentalHz;
using sound::peak;
using sound::rms;

constexpr const char* kMissingSoundFont =
    "install the Debian package fluid-soundfont-gm (/usr/share/sounds/sf2/FluidR3_GM.sf2)";

uint32_t message(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status | data1 << 8 | data2 << 16);
}
uint32_t noteOn(int note, int channel = 0) { return message(0x90 | channel, note, 127); }
uint32_t noteOff(int note) { return message(0x80, note); }
uint32_t programChange(int program, int channel = 0) { return message(0xC0 | channel, program); }

FluidOptions bufferOptions(int sampleRate = 44100) {
  FluidOptions options;
  options.output = Output::Buffer;
  options.sampleRate = sampleRate;
  return options;
}

// The next seconds of sound, left and right mixed to mono.
std::vector<float> listen(FluidMidiDevice& device, double seconds) {
  const int frames = static_cast<int>(seconds * device.options().sampleRate);
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  EXPECT_EQ(device.render(left.data(), right.data(), frames), frames);
  for (int i = 0; i < frames; ++i) {
    left[i] = 0.5f * (left[i] + right[i]);
  }
  return left;
}

// The pitch of note, struck now on channel 1 and heard after its attack.
double pitchOf(FluidMidiDevice& device, int note) {
  device.shortMessage(noteOn(note));
  listen(device, 0.2);
  return fundamentalHz(listen(device, 0.8), device.options().sampleRate);
}

// 1.5 % either way: less than a quarter tone, far less than the semitone to a wrong note.
void expectPitch(double heard, double hz) { EXPECT_NEAR(heard, hz, hz * 0.015); }

// The first open of the run: once one open has quietened the synth, it stays quiet for good.
TEST(FluidMidiDevice, TheDefaultOutputHasAShortBufferAndOpensWithoutPrinting) {
  FluidMidiDevice device;
  EXPECT_LE(device.latencyMs(), 10.0);  // a note starts within 10 ms of its highlight
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const bool opened = device.open();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  // Without a sound card it may fail, but then cleanly.
  EXPECT_EQ(device.audioDriverStarted(), opened);
  EXPECT_EQ(device.shortMessage(noteOn(60)) == FluidMidiDevice::kSent, opened);
}

TEST(FluidMidiDevice, EachVoicePlaysInTuneAndItsFullVelocityChordDoesNotClip) {
  const std::tuple<int, int, double> voices[] = {
      {IDRB_TANGO_ACC, 69, 440.0}, {IDRB_GRAND_PIANO, 60, 261.63},
      {IDRB_PICCOLO, 84, 1046.5}, {IDRB_GUITAR_STEEL, 64, 329.63}};
  for (int sampleRate : {44100, 48000}) {
    FluidMidiDevice device(bufferOptions(sampleRate));
    ASSERT_TRUE(device.open()) << kMissingSoundFont;
    EXPECT_LT(peak(listen(device, 0.2)), 1e-5);  // silent until a note is played
    for (const auto& [program, note, hz] : voices) {
      SCOPED_TRACE(testing::Message() << sampleRate << " Hz, program " << program);
      device.shortMessage(programChange(program));
      expectPitch(pitchOf(device, note), hz);
      device.reset();
      for (int chordNote : {48, 60, 64, 67}) {
        device.shortMessage(noteOn(chordNote));
      }
      const double loudest = peak(listen(device, 1.0));
      EXPECT_GT(loudest, 0.1);
      EXPECT_LT(loudest, 0.9);
      device.reset();
      listen(device, 1.0);
    }
  }
}

TEST(FluidMidiDevice, NoteOffEndsTheNoteAndResetSilencesEveryChannel) {
  FluidMidiDevice device(bufferOptions());
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  device.shortMessage(programChange(IDRB_TANGO_ACC));
  for (uint32_t release : {noteOff(69), message(0x90, 69, 0)}) {
    device.shortMessage(noteOn(69));
    EXPECT_GT(rms(listen(device, 0.5)), 0.02);
    device.shortMessage(release);
    listen(device, 0.6);
    EXPECT_LT(rms(listen(device, 0.1)), 1e-3);
  }

  device.shortMessage(programChange(IDRB_PICCOLO, 5));
  for (int note : {60, 64, 67}) {
    device.shortMessage(noteOn(note));
  }
  device.shortMessage(noteOn(72, 5));
  EXPECT_GT(rms(listen(device, 0.5)), 0.05);
  device.reset();
  listen(device, 1.0);  // the room's echo dies away
  EXPECT_LT(peak(listen(device, 0.5)), 1e-3);
  expectPitch(pitchOf(device, 69), 440.0);  // and the next note plays at once
}

TEST(FluidMidiDevice, ADeviceThatCannotOpenSendsNothingAndClosesTwice) {
  FluidOptions noSoundFont = bufferOptions();
  noSoundFont.soundFontFiles = {"/nowhere/FluidR3_GM.sf2"};
  noSoundFont.soundFontFolders = {"/nowhere"};
  FluidOptions noAudioDriver;
  noAudioDriver.audioDrivers = {"no-such-driver"};
  for (const FluidOptions& options : {noSoundFont, noAudioDriver}) {
    for (bool inBackground : {false, true}) {
      FluidMidiDevice device(options);
      if (inBackground) {
        device.openInBackground();
      }
      EXPECT_FALSE(device.open());
      EXPECT_NE(device.shortMessage(noteOn(60)), FluidMidiDevice::kSent);
      float left[64];
      float right[64];
      EXPECT_EQ(device.render(left, right, 64), 0);
      device.reset();
      device.close();
      device.close();
    }
  }
}

TEST(FluidMidiDevice, ClosesTwiceAndOpensAgainInTheBackground) {
  FluidMidiDevice device(bufferOptions());
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  device.close();
  device.close();
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
  device.openInBackground();
  EXPECT_FALSE(device.isOpen());  // not until open() collects the result
  ASSERT_TRUE(device.open());
  expectPitch(pitchOf(device, 69), 440.0);  // no program change: the General MIDI piano

  FluidMidiDevice destroyedWhileOpening(bufferOptions());  // the destructor waits for it
  destroyedWhileOpening.openInBackground();
}

TEST(SoundFontSearch, TriesTheNamedFilesFirstThenEachFoldersOtherSoundFontsByName) {
  std::string pattern = (fs::temp_directory_path() / "brenavo-sound-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path folder = pattern;
  for (const char* name : {"c.sf2", "B.SF3", "a.sf2", "readme.txt"}) {
    std::ofstream(folder / name);
  }
  FluidOptions options;
  options.soundFontFiles = {"/nowhere/named.sf2", (folder / "a.sf2").string()};
  options.soundFontFolders = {folder.string(), "/nowhere"};
  EXPECT_EQ(soundFontCandidates(options),
            (std::vector<std::string>{"/nowhere/named.sf2", (folder / "a.sf2").string(),
                                      (folder / "B.SF3").string(), (folder / "c.sf2").string()}));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace brenavo::fluid
