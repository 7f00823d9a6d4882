// The embedded synthesizer heard through a buffer: what it plays, at what pitch and loudness,
// that it falls silent when told to, and how it answers when it cannot play. Then heard
// through a private sound server: its stream asleep, and the server gone mid-run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "model/ids.h"
#include "platform/fluidsynth/fluid_midi_device.h"
#include "private_pulse.h"

using namespace brenavo;
using namespace brenavo::fluid;

static uint32_t message(int status, int data1, int data2 = 0) { return status | data1 << 8 | data2 << 16; }
static uint32_t noteOn(int note, int channel = 0) { return message(0x90 | channel, note, 127); }
static FluidOptions buffer(int rate = 44100) { return {.output = Output::Buffer, .sampleRate = rate}; }

// The next seconds of sound (the left channel), and its loudness.
static std::vector<float> listen(FluidMidiDevice& device, double seconds) {
  const int frames = static_cast<int>(seconds * device.options().sampleRate);
  std::vector<float> left(frames), right(frames);
  EXPECT_EQ(device.render(left.data(), right.data(), frames), frames);
  return left;
}
static double rms(const std::vector<float>& s) {
  return std::sqrt(std::inner_product(s.begin(), s.end(), s.begin(), 0.0) / s.size());
}

// The pitch of a steady 50-4000 Hz note: the shortest period at which it repeats nearly as well as
// at its best (not a loud partial's), the autocorrelation's peak placed between samples.
static double pitchHz(const std::vector<float>& sound, int rate) {
  const std::size_t shortest = rate / 4000, longest = rate / 50, length = 16384;
  std::vector<double> r(longest + 2);
  for (std::size_t lag = shortest - 1; lag < r.size(); ++lag)
    r[lag] = std::inner_product(&sound[0], &sound[length], &sound[lag], 0.0);
  const double best = *std::max_element(r.begin() + shortest, r.end() - 1);
  for (std::size_t lag = shortest; lag <= longest; ++lag) {
    const double a = r[lag - 1], b = r[lag], c = r[lag + 1];
    if (b >= 0.9 * best && b >= a && b >= c) return rate / (lag + 0.5 * (a - c) / (a - 2 * b + c));
  }
  return 0.0;
}

// Strikes note on channel 1 and hears it, after its attack, within 1.5 % of its equal-tempered
// pitch (less than a quarter tone); then resets and lets the room's echo die away.
static void expectPitch(FluidMidiDevice& device, int note) {
  const double hz = 440.0 * std::exp2((note - 69) / 12.0);
  device.shortMessage(noteOn(note)), listen(device, 0.2);
  EXPECT_NEAR(pitchHz(listen(device, 0.8), device.options().sampleRate), hz, hz * 0.015) << note;
  device.reset(), listen(device, 1.0);
}

// Silent until a note is played; a note within 10 ms of its highlight. Velocity 1 sounds; a
// note-off or velocity 0 ends a note; each voice plays in tune; a reset silences every channel.
// Bad messages are refused; closed, it answers not-open, and opens again.
TEST(FluidMidiDevice, PlaysInTuneEndsNotesResetsRefusesBadMessagesAndOpensAgain) {
  EXPECT_LE(FluidMidiDevice().latencyMs(), 10.0);
  for (int sampleRate : {44100, 48000}) {
    FluidMidiDevice device(buffer(sampleRate));
    ASSERT_TRUE(device.open()) << "install the Debian package fluid-soundfont-gm";
    EXPECT_LT(rms(listen(device, 0.2)), 1e-6);
    device.shortMessage(message(0xC0, IDRB_TANGO_ACC));  // a voice that holds its notes
    for (auto [strike, release, least] : {std::tuple{message(0x90, 69, 1), message(0x80, 69), 1e-7},
                                          {noteOn(69), message(0x80, 69), 0.02},
                                          {noteOn(69), message(0x90, 69, 0), 0.02}}) {
      device.shortMessage(strike);
      EXPECT_GT(rms(listen(device, 0.5)), least);
      device.shortMessage(release), listen(device, 0.6);
      EXPECT_LT(rms(listen(device, 0.1)), 1e-3);
    }
    for (auto [program, note] : {std::pair{IDRB_GRAND_PIANO, 60}, {IDRB_PICCOLO, 84},
                                 {IDRB_GUITAR_STEEL, 64}, {IDRB_TANGO_ACC, 69}})
      device.shortMessage(message(0xC0, program)), expectPitch(device, note);
    for (uint32_t note : {noteOn(60), noteOn(72, 5)}) device.shortMessage(note);
    EXPECT_GT(rms(listen(device, 0.5)), 0.05);
    device.reset(), listen(device, 1.0);
    EXPECT_LT(rms(listen(device, 0.5)), 1e-4);
    for (uint32_t bad : {message(0x45, 60, 127), message(0x90, 128, 127), message(0x90, 60, 128)})
      EXPECT_EQ(device.shortMessage(bad), FluidMidiDevice::kBadMessage) << std::hex << bad;
    device.close();
    EXPECT_EQ(device.shortMessage(noteOn(60)), FluidMidiDevice::kNotOpen);
    device.openInBackground();
    ASSERT_TRUE(device.open());
    expectPitch(device, 69);  // no program change: the General MIDI piano
  }
  FluidMidiDevice(buffer()).openInBackground();  // the destructor waits for it
}

// SoundFonts are sought in the named files first, then in each folder by name. Without a usable
// SoundFont or an audio driver, opened at once or in the background, a device answers not-open.
TEST(FluidMidiDevice, SoundFontsAreSoughtInOrderAndWithoutOneOrADriverADeviceAnswersNotOpen) {
  std::string dir = (std::filesystem::temp_directory_path() / "brenavo-sound-XXXXXX").string();
  ASSERT_NE(mkdtemp(dir.data()), nullptr);
  for (const char* name : {"/c.sf2", "/B.SF3", "/a.sf2", "/readme.txt"}) std::ofstream(dir + name);
  const FluidOptions empty{.output = Output::Buffer, .soundFontFiles = {"/no.sf2", dir + "/a.sf2"},
                           .soundFontFolders = {dir, "/nowhere"}};
  EXPECT_EQ(soundFontCandidates(empty), (std::vector<std::string>{"/no.sf2", dir + "/a.sf2",
                                                                  dir + "/B.SF3", dir + "/c.sf2"}));
  for (const FluidOptions& options : {empty, FluidOptions{.audioDrivers = {"no-driver"}}})
    for (bool inBackground : {false, true}) {
      FluidMidiDevice device(options);
      float left[64], right[64];
      if (inBackground) device.openInBackground();
      EXPECT_EQ((std::tuple{device.open(), device.shortMessage(noteOn(60)), device.render(left, right, 64)}),
                (std::tuple{false, FluidMidiDevice::kNotOpen, 0}));
      device.reset(), device.close();  // and again when it is destroyed
    }
  std::filesystem::remove_all(dir);
}

using brenavo::testing::MonitorRecording;
using brenavo::testing::PrivatePulse;
constexpr int64_t kMs = 1'000'000;
constexpr float kHeard = 1e-3f;  // -60 dB on the sink

static float loudest(const std::vector<float>& s) {
  return std::fabs(std::ranges::max(s, {}, [](float a) { return std::fabs(a); }));
}

static bool asleepWithin(const FluidMidiDevice& device, int seconds) {
  for (int tenths = 0; tenths < 10 * seconds && device.outputAwake(); ++tenths)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return !device.outputAwake();
}

// What the server holds of the stream now, as pactl reports it ("Buffer Latency: 6530 usec"),
// in ms; -1 when it reports none.
static double heldByServerMs(const PrivatePulse& pulse) {
  const std::string ask =
      "pactl --server=" + pulse.address() + " list sink-inputs | sed -n 's/.*Buffer Latency: //p'";
  FILE* answer = popen(ask.c_str(), "r");
  double usec = -1000;  // left as it is when no number comes
  if (answer != nullptr) (void)!std::fscanf(answer, "%lf", &usec), pclose(answer);
  return usec / 1000;
}

// Asleep after a silence, neither the stream nor the server runs for it; the next note wakes it
// and is heard on the sink at its pitch, far sooner than any look the output takes by itself.
// The stream gives the server its whole buffer to hold, not one short period that runs dry
// whenever the machine is busy; it takes later messages on its own thread, in the order they
// were handed over (a reset right after a note-on leaves nothing sounding). Then the server dies in the middle of a Loop and comes back:
// the run goes on silently without a box, Stop leaves nothing sounding, and the next Play is
// heard.
TEST(SoundServer, AfterASilenceTheNextNoteIsHeardAtOnceAndAServerLostInALoopComesBack) {
  PrivatePulse pulse;
  if (!pulse.running()) GTEST_SKIP() << pulse.failure();
  pulse.useForThisProcess();
  FluidMidiDevice device({.audioDrivers = {"pulseaudio"}});
  ASSERT_TRUE(device.open());
  device.shortMessage(message(0xC0, IDRB_TANGO_ACC));
  MonitorRecording sink(pulse);
  ASSERT_TRUE(sink.flowing() && asleepWithin(device, 30));
  const int64_t struck = MonitorRecording::nowNs();
  device.shortMessage(noteOn(69));
  const int64_t heard = sink.firstLoudSince(struck, kHeard, 5000);
  ASSERT_GE(heard, struck) << "no sound on the sink";
  EXPECT_LT(heard - struck, 120 * kMs);
  EXPECT_NEAR(pitchHz(sink.samplesFrom(heard + 200 * kMs, 0.8), 44100), 440.0, 440.0 * 0.015);
  EXPECT_EQ(device.outputOpenings(), 2);
  EXPECT_GE(heldByServerMs(pulse), device.latencyMs() / 2);
  device.shortMessage(noteOn(76)), device.reset();
  const std::vector<float> reset = sink.samplesFrom(MonitorRecording::nowNs() + 1500 * kMs, 0.5);
  ASSERT_FALSE(reset.empty());
  EXPECT_LT(loudest(reset), kHeard) << "the reset was played before the note";
  fakes::RecordingPlatform fake;
  platform::Platform& f = fake.services();
  platform::Platform os{f.window,   f.menuBar, f.statusBar, f.timer, f.scrollBar, f.controls,
                        f.messages, f.dialogs, f.help,      device,  f.keyStore, f.printer, f.audioInput};
  std::unique_ptr<Program> program = CreateMainWindow(os);
  ASSERT_EQ(program->sel.midiDevExists, 1);
  const auto steps = [&](int count) {
    for (int i = 0; i < count; ++i)
      SendMessage(*program, WM_TIMER, IDM_PLAY_TIMER, 0), std::this_thread::sleep_for(std::chrono::milliseconds(100));
  };
  SendCommand(*program, IDPB_LOOP), steps(5);
  pulse.kill(), steps(20);
  ASSERT_TRUE(pulse.restart()) << pulse.failure();
  MonitorRecording back(pulse);
  ASSERT_TRUE(back.flowing());
  steps(5), SendCommand(*program, IDPB_STOP);
  const int64_t stopped = MonitorRecording::nowNs();
  const std::vector<float> after = back.samplesFrom(stopped + 1500 * kMs, 0.5);
  ASSERT_FALSE(after.empty());
  EXPECT_LT(loudest(after), kHeard) << "a note left sounding";
  const int64_t played = MonitorRecording::nowNs();
  SendCommand(*program, IDPB_PLAY);
  EXPECT_GE(back.firstLoudSince(played, kHeard, 5000), played) << "silent after Play";
  SendCommand(*program, IDPB_STOP);
  EXPECT_EQ(fake.logOf("messageBox"), std::vector<std::string>{});
}

