// The embedded synthesizer heard through a buffer: what it plays, at what pitch and
// loudness, that it falls silent when told to, and how it answers when it cannot play.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "model/ids.h"
#include "platform/fluidsynth/fluid_midi_device.h"

namespace brenavo::fluid {
namespace {

constexpr const char* kMissingSoundFont =
    "install the Debian package fluid-soundfont-gm (/usr/share/sounds/sf2/FluidR3_GM.sf2)";

uint32_t message(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status | data1 << 8 | data2 << 16);
}
uint32_t noteOn(int note, int channel = 0) { return message(0x90 | channel, note, 127); }
uint32_t programChange(int program, int channel = 0) { return message(0xC0 | channel, program); }

FluidOptions bufferOptions(int sampleRate = 44100) {
  return {.output = Output::Buffer, .sampleRate = sampleRate};
}

// The next seconds of sound, left and right mixed to mono.
std::vector<float> listen(FluidMidiDevice& device, double seconds) {
  const int frames = static_cast<int>(seconds * device.options().sampleRate);
  std::vector<float> left(frames), right(frames);
  EXPECT_EQ(device.render(left.data(), right.data(), frames), frames);
  for (int i = 0; i < frames; ++i) left[i] = 0.5f * (left[i] + right[i]);
  return left;
}

double rms(const std::vector<float>& sound) {
  return std::sqrt(std::inner_product(sound.begin(), sound.end(), sound.begin(), 0.0) /
                   static_cast<double>(sound.size()));
}

double peak(const std::vector<float>& sound) {
  return std::abs(*std::max_element(sound.begin(), sound.end(),
                                    [](float a, float b) { return std::abs(a) < std::abs(b); }));
}

// The pitch of a steady note between 50 and 4000 Hz: the shortest period at which the
// sound repeats itself nearly as well as at its best one, so that a loud upper partial is
// not taken for the note. The peak of the autocorrelation is placed between samples.
double pitchHz(const std::vector<float>& sound, int sampleRate) {
  const std::size_t shortest = sampleRate / 4000, longest = sampleRate / 50;
  const std::size_t length = std::min<std::size_t>(sound.size() - longest - 1, 16384);
  std::vector<double> r(longest + 2);
  for (std::size_t lag = shortest - 1; lag < r.size(); ++lag)
    r[lag] = std::inner_product(&sound[0], &sound[length], &sound[lag], 0.0);
  const double best = *std::max_element(r.begin() + shortest, r.end() - 1);
  for (std::size_t lag = shortest; lag <= longest; ++lag)
    if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1])
      return sampleRate /
             (lag + 0.5 * (r[lag - 1] - r[lag + 1]) / (r[lag - 1] - 2 * r[lag] + r[lag + 1]));
  return 0.0;
}

// Strikes note on channel 1 and hears it within 1.5 % of hz: less than a quarter tone,
// far less than the semitone to a wrong note.
void expectPitch(FluidMidiDevice& device, int note, double hz) {
  device.shortMessage(noteOn(note));
  listen(device, 0.2);  // the attack
  EXPECT_NEAR(pitchHz(listen(device, 0.8), device.options().sampleRate), hz, hz * 0.015);
}

TEST(FluidMidiDevice, EachVoicePlaysInTuneSoonAndItsFullVelocityChordDoesNotClip) {
  const std::tuple<int, int, double> voices[] = {
      {IDRB_TANGO_ACC, 69, 440.0}, {IDRB_GRAND_PIANO, 60, 261.63},
      {IDRB_PICCOLO, 84, 1046.5}, {IDRB_GUITAR_STEEL, 64, 329.63}};
  EXPECT_LE(FluidMidiDevice().latencyMs(), 10.0);  // a note starts within 10 ms of its highlight
  for (int sampleRate : {44100, 48000}) {
    FluidMidiDevice device(bufferOptions(sampleRate));
    ASSERT_TRUE(device.open()) << kMissingSoundFont;
    EXPECT_LT(peak(listen(device, 0.2)), 1e-5);  // silent until a note is played
    for (const auto& [program, note, hz] : voices) {
      SCOPED_TRACE(testing::Message() << sampleRate << " Hz, program " << program);
      device.shortMessage(programChange(program));
      expectPitch(device, note, hz);
      device.reset();
      for (int chordNote : {48, 60, 64, 67}) device.shortMessage(noteOn(chordNote));
      const double loudest = peak(listen(device, 1.0));
      EXPECT_GT(loudest, 0.1);
      EXPECT_LT(loudest, 0.9);
      device.reset();
      listen(device, 1.0);
    }
  }
}

// A note-on of velocity 1 sounds, however softly; a note-off, or a note-on of velocity 0,
// ends the note; a reset silences every channel at once, and the next note plays straight
// after it.
TEST(FluidMidiDevice, NoteOffEndsTheNoteAndResetSilencesEveryChannel) {
  FluidMidiDevice device(bufferOptions());
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  device.shortMessage(programChange(IDRB_TANGO_ACC));
  device.shortMessage(message(0x90, 69, 1));
  EXPECT_GT(rms(listen(device, 0.5)), 1e-7);  // some 30 times this
  for (uint32_t release : {message(0x80, 69), message(0x90, 69, 0)}) {
    device.shortMessage(noteOn(69));
    EXPECT_GT(rms(listen(device, 0.5)), 0.02);
    device.shortMessage(release);
    listen(device, 0.6);
    EXPECT_LT(rms(listen(device, 0.1)), 1e-3);
  }
  device.shortMessage(programChange(IDRB_PICCOLO, 5));
  for (int note : {60, 64, 67}) device.shortMessage(noteOn(note));
  device.shortMessage(noteOn(72, 5));
  EXPECT_GT(rms(listen(device, 0.5)), 0.05);
  device.reset();
  listen(device, 1.0);  // the room's echo dies away
  EXPECT_LT(peak(listen(device, 0.5)), 1e-3);
  expectPitch(device, 69, 440.0);
}

TEST(FluidMidiDevice, ADeviceThatCannotOpenAnswersNotOpenAndClosesTwice) {
  const FluidOptions noSoundFont{.output = Output::Buffer,
                                 .soundFontFiles = {"/nowhere/FluidR3_GM.sf2"},
                                 .soundFontFolders = {"/nowhere"}};
  const FluidOptions noAudioDriver{.audioDrivers = {"no-such-driver"}};
  for (const FluidOptions& options : {noSoundFont, noAudioDriver}) {
    for (bool inBackground : {false, true}) {
      FluidMidiDevice device(options);
      if (inBackground) device.openInBackground();
      EXPECT_FALSE(device.open());
      EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
      float left[64], right[64];
      EXPECT_EQ(device.render(left, right, 64), 0);
      device.reset();
      device.close();  // and again when it is destroyed
    }
  }
}

TEST(FluidMidiDevice, RefusesBadMessagesAndOpensAgainInTheBackground) {
  FluidMidiDevice device(bufferOptions());
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  for (uint32_t bad : {message(0x45, 60, 127), message(0x90, 128, 127), message(0x90, 60, 128)})
    EXPECT_EQ(device.shortMessage(bad), FluidMidiDevice::kBadMessage) << std::hex << bad;
  device.close();
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
  device.openInBackground();
  EXPECT_FALSE(device.isOpen());  // not until open() collects the result
  ASSERT_TRUE(device.open());
  expectPitch(device, 69, 440.0);  // no program change: the General MIDI piano

  FluidMidiDevice destroyedWhileOpening(bufferOptions());  // the destructor waits for it
  destroyedWhileOpening.openInBackground();
}

TEST(SoundFontSearch, TriesTheNamedFilesFirstThenEachFoldersOtherSoundFontsByName) {
  std::string folder = (std::filesystem::temp_directory_path() / "brenavo-sound-XXXXXX").string();
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  for (const char* name : {"/c.sf2", "/B.SF3", "/a.sf2", "/readme.txt"})
    std::ofstream(folder + name);
  const FluidOptions options{.soundFontFiles = {"/nowhere/named.sf2", folder + "/a.sf2"},
                             .soundFontFolders = {folder, "/nowhere"}};
  EXPECT_EQ(soundFontCandidates(options),
            (std::vector<std::string>{"/nowhere/named.sf2", folder + "/a.sf2", folder + "/B.SF3",
                                      folder + "/c.sf2"}));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace brenavo::fluid
