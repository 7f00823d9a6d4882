// The embedded synthesizer heard through a buffer: what it plays, at what pitch and
// loudness, and that it falls silent when told to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fluidsynth/fluid_midi_device.h"
#include "spectrum.h"

namespace brenavo::fluid {
namespace {

namespace fs = std::filesystem;
using sound::fundamentalHz;
using sound::peak;
using sound::rms;

constexpr const char* kGmSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
constexpr const char* kMissingSoundFont =
    "The General MIDI SoundFont is missing: install the Debian package fluid-soundfont-gm "
    "(it provides /usr/share/sounds/sf2/FluidR3_GM.sf2).";

// -100 dB: the synth's idle output is not exactly zero.
constexpr double kSilence = 1e-5;

constexpr int kAccordion = 23;
constexpr int kPiccolo = 72;
constexpr int kPiano = 0;
constexpr int kSteelGuitar = 24;

uint32_t pack(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 |
         static_cast<uint32_t>(data2) << 16;
}
uint32_t noteOn(int note, int channel = 0) { return pack(0x90 | channel, note, 127); }
uint32_t noteOff(int note, int channel = 0) { return pack(0x80 | channel, note, 0); }
uint32_t programChange(int program, int channel = 0) { return pack(0xC0 | channel, program); }

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
  std::vector<float> mono(frames);
  for (int i = 0; i < frames; ++i) {
    mono[i] = 0.5f * (left[i] + right[i]);
  }
  return mono;
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::stol(line.substr(6));
    }
  }
  return -1;
}

// A folder of its own under the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name)
      : path_(fs::temp_directory_path() / ("brenavo_sound_" + name)) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  std::string file(const std::string& name, const std::string& contents = "") const {
    const fs::path path = path_ / name;
    std::ofstream(path) << contents;
    return path.string();
  }
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

// A device that plays into buffers with the program's own SoundFont search.
class GmSynth : public ::testing::Test {
 protected:
  explicit GmSynth(int sampleRate = 44100) : device_(bufferOptions(sampleRate)) {}
  void SetUp() override { ASSERT_TRUE(device_.open()) << kMissingSoundFont; }

  // The pitch of note in voice program, held for a second and heard after its attack.
  double pitchOf(int program, int note) {
    device_.shortMessage(programChange(program));
    device_.shortMessage(noteOn(note));
    listen(device_, 0.2);
    const std::vector<float> held = listen(device_, 0.8);
    device_.shortMessage(noteOff(note));
    return fundamentalHz(held, device_.options().sampleRate);
  }

  FluidMidiDevice device_;
};

TEST(SoundFontSearch, TriesTheNamedFilesFirstThenEveryOtherSoundFontOfTheFoldersByName) {
  ScratchFolder folder("search");
  const std::string named = folder.file("named.sf2");
  const std::string upper = folder.file("B.SF3");
  const std::string lower = folder.file("a.sf2");
  folder.file("readme.txt");
  FluidOptions options;
  options.soundFontFiles = {named, "/nowhere/else.sf2"};
  options.soundFontFolders = {folder.path(), "/nowhere"};

  EXPECT_EQ(soundFontCandidates(options),
            (std::vector<std::string>{named, "/nowhere/else.sf2", upper, lower}));
}

TEST(SoundFontSearch, TheDebianGmSoundFontComesFirst) {
  const std::vector<std::string> candidates = soundFontCandidates(FluidOptions{});
  ASSERT_FALSE(candidates.empty());
  EXPECT_EQ(candidates.front(), kGmSoundFont);
  EXPECT_TRUE(fs::exists(kGmSoundFont)) << kMissingSoundFont;
}

TEST_F(GmSynth, OpensWithTheDebianGmSoundFontAndNoAudioDriver) {
  EXPECT_TRUE(device_.isOpen());
  EXPECT_EQ(device_.soundFontPath(), kGmSoundFont);
  EXPECT_FALSE(device_.audioDriverStarted());
  EXPECT_EQ(device_.audioDriverName(), "");
}

TEST_F(GmSynth, IsSilentUntilANoteIsPlayed) {
  EXPECT_LT(peak(listen(device_, 0.5)), kSilence);
}

TEST_F(GmSynth, EachVoiceSoundsItsNoteAtThePitchOfTheNote) {
  // 1.5 % either way: less than a quarter tone, far less than the semitone to a wrong note.
  EXPECT_NEAR(pitchOf(kAccordion, 69), 440.0, 440.0 * 0.015);
  EXPECT_NEAR(pitchOf(kPiano, 60), 261.63, 261.63 * 0.015);
  EXPECT_NEAR(pitchOf(kAccordion, 55), 196.0, 196.0 * 0.015);
  EXPECT_NEAR(pitchOf(kPiccolo, 84), 1046.5, 1046.5 * 0.015);
  EXPECT_NEAR(pitchOf(kSteelGuitar, 64), 329.63, 329.63 * 0.015);
}

TEST_F(GmSynth, AProgramChangeOnAnotherChannelLeavesChannelOneAlone) {
  device_.shortMessage(programChange(kAccordion));
  device_.shortMessage(programChange(kPiano, 3));
  device_.shortMessage(noteOn(69));
  listen(device_, 2.0);
  // The accordion holds its note; a piano note would have decayed by now.
  const double held = rms(listen(device_, 0.2));
  device_.shortMessage(noteOff(69));
  device_.shortMessage(noteOn(69, 3));
  listen(device_, 2.0);
  const double decayed = rms(listen(device_, 0.2));
  EXPECT_GT(held, 0.02);
  EXPECT_LT(decayed, held / 2);
}

TEST_F(GmSynth, AFullVelocityNoteIsLoudAndFourAtOnceDoNotClip) {
  for (int program : {kAccordion, kPiccolo, kPiano, kSteelGuitar}) {
    SCOPED_TRACE(program);
    device_.shortMessage(programChange(program));
    device_.shortMessage(noteOn(69));
    EXPECT_GT(peak(listen(device_, 1.0)), 0.1);
    device_.shortMessage(noteOff(69));
    listen(device_, 1.0);

    const int chord[] = {48, 60, 64, 67};
    for (int note : chord) {
      device_.shortMessage(noteOn(note));
    }
    EXPECT_LT(peak(listen(device_, 1.0)), 0.9);
    for (int note : chord) {
      device_.shortMessage(noteOff(note));
    }
    listen(device_, 1.0);
  }
}

TEST_F(GmSynth, NoteOffAndNoteOnWithVelocityZeroEndTheNote) {
  device_.shortMessage(programChange(kAccordion));
  for (uint32_t release : {noteOff(69), pack(0x90, 69, 0)}) {
    device_.shortMessage(noteOn(69));
    listen(device_, 0.5);
    EXPECT_GT(rms(listen(device_, 0.1)), 0.02);
    device_.shortMessage(release);
    listen(device_, 0.6);
    EXPECT_LT(rms(listen(device_, 0.1)), 1e-3);
  }
}

TEST_F(GmSynth, ResetSilencesEveryHeldNoteOnEveryChannel) {
  device_.shortMessage(programChange(kAccordion));
  device_.shortMessage(programChange(kPiccolo, 5));
  for (int note : {60, 64, 67}) {
    device_.shortMessage(noteOn(note));
  }
  device_.shortMessage(noteOn(72, 5));
  listen(device_, 0.5);
  EXPECT_GT(rms(listen(device_, 0.1)), 0.05);

  device_.reset();
  // What is left is the room's echo, 40 dB down within half a second.
  listen(device_, 0.5);
  EXPECT_LT(rms(listen(device_, 0.1)), 1e-3);
  listen(device_, 0.5);
  EXPECT_LT(peak(listen(device_, 0.5)), 1e-3);

  // The voice is still selected: the next note plays at once.
  device_.shortMessage(noteOn(69));
  EXPECT_NEAR(fundamentalHz(listen(device_, 0.8), 44100), 440.0, 440.0 * 0.015);
}

TEST_F(GmSynth, AChannelWithoutAProgramChangePlaysTheGeneralMidiDefaults) {
  // Channel 1: the piano, which dies away where the accordion would hold.
  device_.shortMessage(noteOn(69));
  listen(device_, 0.2);
  EXPECT_NEAR(fundamentalHz(listen(device_, 0.8), 44100), 440.0, 440.0 * 0.015);
  const double early = rms(listen(device_, 0.2));
  listen(device_, 2.0);
  EXPECT_LT(rms(listen(device_, 0.2)), early / 2);
  device_.shortMessage(noteOff(69));

  // Channel 10: the drum kit; its snare (note 38) sounds.
  constexpr int kDrumChannel = 9;
  device_.shortMessage(noteOn(38, kDrumChannel));
  EXPECT_GT(peak(listen(device_, 0.3)), 0.05);
}

TEST_F(GmSynth, MessagesItDoesNotPlayAreAcceptedOrRefusedButNeverSound) {
  EXPECT_EQ(device_.shortMessage(pack(0xB0, 7, 100)), FluidMidiDevice::kSent);   // controller
  EXPECT_EQ(device_.shortMessage(pack(0xE0, 0, 64)), FluidMidiDevice::kSent);    // pitch bend
  EXPECT_EQ(device_.shortMessage(pack(0x3C, 127)), FluidMidiDevice::kBadMessage);  // no status
  EXPECT_EQ(device_.shortMessage(pack(0x90, 200, 127)), FluidMidiDevice::kBadMessage);
  EXPECT_EQ(device_.shortMessage(pack(0x90, 60, 255)), FluidMidiDevice::kBadMessage);
  EXPECT_LT(peak(listen(device_, 0.5)), kSilence);
  EXPECT_EQ(device_.shortMessage(noteOff(60)), FluidMidiDevice::kSent);  // nothing was sounding
}

class GmSynthAt48k : public GmSynth {
 protected:
  GmSynthAt48k() : GmSynth(48000) {}
};

TEST_F(GmSynthAt48k, PlaysAtTheRightPitchAtTheOtherSampleRate) {
  EXPECT_NEAR(pitchOf(kPiano, 60), 261.63, 261.63 * 0.015);
  EXPECT_NEAR(pitchOf(kAccordion, 69), 440.0, 440.0 * 0.015);
}

TEST(FluidMidiDevice, LoadsOnlyTheSamplesOfTheSelectedVoices) {
  const long before = residentKilobytes();
  FluidMidiDevice device(bufferOptions());
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  for (int program : {kAccordion, kPiccolo, kPiano, kSteelGuitar}) {
    device.shortMessage(programChange(program));
    device.shortMessage(noteOn(60));
    listen(device, 0.1);
    device.shortMessage(noteOff(60));
  }
  // The whole SoundFont holds about 140 MB of samples.
  EXPECT_LT(residentKilobytes() - before, 80 * 1024);
}

TEST(FluidMidiDevice, OpensInTheBackgroundAndTheNextOpenGivesTheResult) {
  FluidMidiDevice device(bufferOptions());
  device.openInBackground();
  EXPECT_FALSE(device.isOpen());  // not until open() has collected the result
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  EXPECT_TRUE(device.isOpen());
  EXPECT_FALSE(device.soundFontPath().empty());
  device.shortMessage(programChange(kAccordion));
  device.shortMessage(noteOn(69));
  listen(device, 0.3);
  EXPECT_NEAR(fundamentalHz(listen(device, 0.8), 44100), 440.0, 440.0 * 0.015);

  device.openInBackground();  // already open: nothing to do
  EXPECT_TRUE(device.isOpen());
}

TEST(FluidMidiDevice, ABackgroundOpenThatFailsLeavesTheDeviceClosed) {
  FluidOptions options = bufferOptions();
  options.soundFontFiles = {"/nowhere/FluidR3_GM.sf2"};
  options.soundFontFolders = {};
  FluidMidiDevice device(options);
  device.openInBackground();
  EXPECT_FALSE(device.open());
  EXPECT_FALSE(device.isOpen());
  EXPECT_EQ(device.soundFontPath(), "");
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
  EXPECT_FALSE(device.open());  // tried again, at once
}

TEST(FluidMidiDevice, ClosingOrDestroyingDuringABackgroundOpenWaitsForIt) {
  FluidMidiDevice device(bufferOptions());
  device.openInBackground();
  device.close();
  EXPECT_FALSE(device.isOpen());
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
  ASSERT_TRUE(device.open()) << kMissingSoundFont;

  FluidMidiDevice destroyedAtOnce(bufferOptions());
  destroyedAtOnce.openInBackground();
}

TEST(FluidMidiDevice, WithoutASoundFontItDoesNotOpenAndSendsNothing) {
  ScratchFolder folder("empty");
  const std::string notASoundFont = folder.file("broken.sf2", "not a SoundFont at all");
  FluidOptions options = bufferOptions();
  options.soundFontFiles = {"/nowhere/FluidR3_GM.sf2", notASoundFont};
  options.soundFontFolders = {folder.path()};
  FluidMidiDevice device(options);

  EXPECT_FALSE(device.open());
  EXPECT_FALSE(device.isOpen());
  EXPECT_EQ(device.soundFontPath(), "");
  EXPECT_NE(device.shortMessage(programChange(kAccordion)), FluidMidiDevice::kSent);
  EXPECT_NE(device.shortMessage(noteOn(60)), FluidMidiDevice::kSent);
  float left[64];
  float right[64];
  EXPECT_EQ(device.render(left, right, 64), 0);
  device.reset();
  device.close();
  device.close();
}

TEST(FluidMidiDevice, RefusesASampleRateItDoesNotOffer) {
  FluidMidiDevice device(bufferOptions(22050));
  EXPECT_FALSE(device.open());
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
}

TEST(FluidMidiDevice, ClosesTwiceAndOpensAgain) {
  FluidMidiDevice device(bufferOptions());
  device.close();
  ASSERT_TRUE(device.open()) << kMissingSoundFont;
  EXPECT_TRUE(device.open());  // already open
  device.close();
  device.close();
  EXPECT_FALSE(device.isOpen());
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);

  ASSERT_TRUE(device.open());
  device.shortMessage(programChange(kAccordion));
  device.shortMessage(noteOn(69));
  EXPECT_GT(rms(listen(device, 0.5)), 0.02);
}

TEST(FluidMidiDevice, AnAudioDriverThatCannotStartFailsTheOpen) {
  FluidOptions options;
  options.audioDrivers = {"no-such-driver"};
  FluidMidiDevice device(options);
  EXPECT_FALSE(device.open());
  EXPECT_FALSE(device.isOpen());
  EXPECT_FALSE(device.audioDriverStarted());
  EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
}

TEST(FluidMidiDevice, TheDefaultAudioOutputStartsADriverOrFailsCleanlyAndQuietly) {
  FluidMidiDevice device;
  EXPECT_EQ(device.options().output, Output::AudioDriver);
  // A short buffer: the note starts within 10 ms of its highlight.
  EXPECT_LE(device.latencyMs(), 10.0);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const bool opened = device.open();
  const std::string errors = ::testing::internal::GetCapturedStderr();
  const std::string output = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(errors, "");
  EXPECT_EQ(output, "");
  if (opened) {
    EXPECT_TRUE(device.audioDriverStarted());
    const std::vector<std::string>& drivers = device.options().audioDrivers;
    EXPECT_NE(std::find(drivers.begin(), drivers.end(), device.audioDriverName()), drivers.end());
    float left[64];
    float right[64];
    EXPECT_EQ(device.render(left, right, 64), 0);  // the driver pulls the sound
  } else {
    EXPECT_FALSE(device.audioDriverStarted());
    EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
  }
  device.close();
}

}  // namespace
}  // namespace brenavo::fluid
