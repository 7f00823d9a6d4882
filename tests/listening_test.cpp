// The detector hears the program's own accordion voice: a right step is accepted soon after
// it starts, a wrong one never, and noise or silence never.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "listening/hearing.h"
#include "model/ids.h"
#include "platform/fluidsynth/fluid_midi_device.h"

namespace brenavo::listening {
namespace {

constexpr int kRate = 44100;

// Where the microphone stands: beside the left speaker, or between the two, hearing their mean
// (where the two channels of a stereo sample partly cancel).
enum class Microphone { BesideLeftSpeaker, BetweenSpeakers };

// The hearings of 0.6 s of sound: a voice (the accordion unless told) playing `played` from the
// start (after `before` for 0.3 s, then released), plus white noise of peak `noise`.
std::vector<Hearing> hear(const std::vector<int>& played, float noise = 0.0f, const std::vector<int>& before = {},
                          int program = IDRB_TANGO_ACC, Microphone microphone = Microphone::BesideLeftSpeaker) {
  fluid::FluidMidiDevice synth({.output = fluid::Output::Buffer, .sampleRate = kRate});
  EXPECT_TRUE(synth.open()) << "install the Debian package fluid-soundfont-gm";
  synth.shortMessage(0xC0 | program << 8);
  const int beforeFrames = before.empty() ? 0 : static_cast<int>(0.3 * kRate);
  std::vector<float> left(beforeFrames + static_cast<std::size_t>(0.6 * kRate)), right(left.size());
  for (int note : before) synth.shortMessage(0x90 | note << 8 | 127 << 16);
  synth.render(left.data(), right.data(), beforeFrames);
  for (int note : before) synth.shortMessage(0x80 | note << 8);
  for (int note : played) synth.shortMessage(0x90 | note << 8 | 127 << 16);
  synth.render(left.data() + beforeFrames, right.data() + beforeFrames,
               static_cast<int>(left.size()) - beforeFrames);
  std::minstd_rand random(7);
  std::uniform_real_distribution<float> spread(-noise, noise);
  const bool between = microphone == Microphone::BetweenSpeakers;
  for (std::size_t i = 0; i < left.size(); ++i)
    left[i] = (between ? 0.5f * (left[i] + right[i]) : left[i]) + spread(random);
  std::vector<Hearing> hearings;
  Detector(kRate, 440.0).feed(left.data(), left.size(), hearings);
  return hearings;
}

// The time from `fromMs` to the first later hearing that holds the step, or -1 when none does.
double firstAcceptedMs(const std::vector<Hearing>& hearings, const std::vector<int>& step, double fromMs = 0) {
  for (const Hearing& hearing : hearings)
    if (hearing.timeMs > fromMs && holdsStep(hearing, step.data(), static_cast<int>(step.size())))
      return hearing.timeMs - fromMs;
  return -1;
}

constexpr float kSilentRoom = 0.0f;

TEST(Detector, AcceptsRightStepsSoonAndNeverWrongOnesNoiseOrSilence) {
  const struct {
    const char* what;
    std::vector<int> played, step;
    bool right;
    float noise = 0.0f;
    std::vector<int> before = {};
  } cases[] = {
      {"a note", {60}, {60}, true}, {"a third", {67, 71}, {67, 71}, true},
      {"a chord", {62, 66, 69}, {62, 66, 69}, true}, {"a note in noise", {69}, {69}, true, 0.02f},
      {"a semitone off", {61}, {60}, false}, {"an octave up", {72}, {60}, false},
      {"an octave down", {60}, {72}, false}, {"a voice missing", {67}, {67, 71}, false},
      {"a chord note a semitone off", {62, 66, 70}, {62, 66, 69}, false},
      {"noise alone", {}, {60}, false, 0.3f}, {"silence", {}, {60}, false},
      {"a chord after another", {64, 68, 71}, {64, 68, 71}, true, 0.0f, {56, 59, 63}},
      {"an octave up over the partial of the note before", {64, 68, 83}, {64, 68, 71}, false, 0.0f, {56, 59, 63}}};
  for (const auto& c : cases) {
    const double accepted = firstAcceptedMs(hear(c.played, c.noise, c.before), c.step, c.before.empty() ? 0 : 300);
    EXPECT_TRUE(c.right ? accepted > 0 && accepted <= 150 : accepted == -1) << c.what << ": " << accepted;
  }
}

// A strong note left over from before does not count against a step; the same note played now does.
TEST(Judging, ALeftOverNoteDoesNotCountAgainstAStep) {
  const struct {
    const char* what;
    bool leftOver;
    float fading, sinceRiseMs, stepSinceRiseMs;
    bool holds;
  } cases[] = {{"played now", false, 0.0f, 50.0f, 50.0f, false},
               {"fallen since the last attack", true, 0.0f, 50.0f, 50.0f, true},
               {"fallen, risen long before the step", false, 0.8f, 300.0f, 50.0f, true},
               {"fallen, risen with the step", false, 0.8f, 100.0f, 50.0f, false},
               {"barely fallen, risen long before", false, 0.2f, 300.0f, 50.0f, false},
               {"risen long before a step just begun", false, 0.8f, 300.0f, 10.0f, false}};
  for (const auto& c : cases) {
    Hearing hearing;
    hearing.salience[60] = 1.0f, hearing.salience[65] = 0.8f;
    hearing.sinceRiseMs[60] = c.stepSinceRiseMs;
    hearing.leftOver[65] = c.leftOver, hearing.fading[65] = c.fading, hearing.sinceRiseMs[65] = c.sinceRiseMs;
    const int step[] = {60};
    EXPECT_EQ(holdsStep(hearing, step, 1), c.holds) << c.what;
  }
}

// The octave below an expected note counts against the step unless it has fallen away and its
// fundamental is far weaker than the expected note's (what a pluck or the step before left);
// while its fundamental comes up out of the floor, the step waits: it may be a note played an
// octave low, its second partial sounding first.
TEST(Judging, TheOctaveBelowCountsUnlessFadedWeakAndWaitsWhileItBegins) {
  const struct {
    const char* what;
    float salience, fading, aboveFloorDb, growthDb;
    bool holds;
  } cases[] = {{"fallen, far weaker", 0.3f, 0.9f, 20.0f, 0.0f, true},
               {"played an octave low", 0.3f, 0.0f, 40.0f, 0.0f, false},
               {"fallen, about as strong", 0.3f, 0.9f, 35.0f, 0.0f, false},
               {"far weaker, not fallen", 0.3f, 0.3f, 20.0f, 0.0f, false},
               {"coming up out of the floor", 0.0f, 0.0f, 12.0f, 8.0f, false},
               {"steady in the floor", 0.0f, 0.0f, 12.0f, 2.0f, true},
               {"growing, still buried", 0.0f, 0.0f, 6.0f, 8.0f, true}};
  for (const auto& c : cases) {
    Hearing hearing;
    hearing.salience[69] = 1.0f, hearing.aboveFloorDb[69] = 40.0f;
    hearing.salience[57] = c.salience, hearing.fading[57] = c.fading;
    hearing.aboveFloorDb[57] = c.aboveFloorDb, hearing.aboveFloorGrowthDb[57] = c.growthDb;
    const int step[] = {69};
    EXPECT_EQ(holdsStep(hearing, step, 1), c.holds) << c.what;
  }
}

// A step's attack lets what is left of the step before pass; a note of the step that rose long
// before the others hides the attack, unless it rose as the partial of a fading octave below.
TEST(Judging, AStepNoteRisenLongAgoOverItsFadingOctaveBelowKeepsTheAttack) {
  const struct {
    const char* what;
    int fadingNote;
    bool holds;
  } cases[] = {{"the expected note's octave below fading", 57, true},
               {"the expected note held on, another note fading", 65, false}};
  for (const auto& c : cases) {
    Hearing hearing;
    hearing.salience[62] = 1.0f, hearing.sinceRiseMs[62] = 50.0f;
    hearing.salience[69] = 1.0f, hearing.sinceRiseMs[69] = 400.0f;
    hearing.salience[c.fadingNote] = 0.8f, hearing.fading[c.fadingNote] = 0.5f;
    hearing.sinceRiseMs[c.fadingNote] = 400.0f;
    const int step[] = {62, 69};
    EXPECT_EQ(holdsStep(hearing, step, 2), c.holds) << c.what;
  }
}

// Between the speakers: a chord's middle note whose fundamental sinks in the mix (the piano's E4
// under C4, G4 and A#4), a chord over the dying echo of the chord before in a silent room (a
// partial of the new chord sounds where the echo's partial was) and a guitar chord whose top
// string (C#5) sounds its second partial long before its fundamental are heard in time. No wrong
// note passes: a piccolo's faint undertone an octave below its loud high note, a guitar string
// played an octave low while its fundamental comes up, the octave above played over the echo of
// the note played before, the piano's note sounding as the second partial of its octave below.
TEST(Detector, BetweenTheSpeakersHearsSunkNotesEchoesAndHighStringsButNoOctaveOff) {
  const struct {
    const char* what;
    std::vector<int> played, before;
    int program;
    std::vector<int> step;
    bool right;
    float noise = 0.02f;
  } cases[] = {
      {"a sunk middle note", {60, 64, 67, 70}, {67, 70, 74}, IDRB_GRAND_PIANO, {60, 64, 67, 70}, true},
      {"over an echo", {64, 68, 71}, {56, 59, 63}, IDRB_TANGO_ACC, {64, 68, 71}, true, kSilentRoom},
      {"a high string", {64, 67, 70, 73}, {59, 62, 65, 68}, IDRB_GUITAR_STEEL, {64, 67, 70, 73}, true},
      {"an undertone", {85}, {71}, IDRB_PICCOLO, {73}, false},
      {"a string an octave low", {68, 71}, {78, 82}, IDRB_GUITAR_STEEL, {68, 83}, false},
      {"an octave up over an echo", {62, 77}, {62, 65}, IDRB_GUITAR_STEEL, {62, 65}, false},
      {"an octave low in silence", {65, 68}, {75, 79}, IDRB_GRAND_PIANO, {68, 77}, false, kSilentRoom}};
  for (const auto& c : cases) {
    const double ms = firstAcceptedMs(hear(c.played, c.noise, c.before, c.program, Microphone::BetweenSpeakers),
                                      c.step, 300);
    EXPECT_TRUE(c.right ? ms > 0 && ms <= 150 : ms == -1) << c.what << ": " << ms;
  }
}

// A high string whose fundamental still lies faint under its loud second partial sounds when
// its third partial, which the octave above has not, stands with the second, and its fundamental
// is new, stands out of its neighbours, not far under the second partial and above the octave below.
TEST(Judging, AHighStringSoundsUnderItsPartialsWhenItsThirdAndANewFundamentalShow) {
  const struct {
    const char* what;
    float fundamentalDb, secondDb, thirdDb, earlierDb, belowDb;
    bool holds;
    float semitoneUpDb = 0.0f;
  } cases[] = {{"a guitar's C#5 just plucked", 18.0f, 36.0f, 23.0f, 0.0f, 0.0f, true},
               {"the twelfth no peak: the octave above played", 16.0f, 30.0f, 15.0f, 0.0f, 0.0f, false},
               {"the third partial far under the second", 20.0f, 40.0f, 21.0f, 0.0f, 0.0f, false},
               {"an undertone far under the note played", 14.0f, 36.0f, 23.0f, 0.0f, 0.0f, false},
               {"the echo of a note played before", 18.0f, 36.0f, 23.0f, 15.0f, 0.0f, false},
               {"the octave below as loud: played an octave low", 18.0f, 36.0f, 23.0f, 0.0f, 18.0f, false},
               {"the skirt of a louder note a semitone up", 18.0f, 36.0f, 23.0f, 0.0f, 0.0f, false, 25.0f}};
  for (const auto& c : cases) {
    Hearing hearing;
    hearing.salience[85] = 0.9f;
    hearing.aboveFloorDb[73] = c.fundamentalDb, hearing.aboveFloorDb[85] = c.secondDb;
    hearing.aboveFloorDb[92] = c.thirdDb, hearing.aboveFloorDb[61] = c.belowDb;
    hearing.aboveFloorDb[74] = c.semitoneUpDb;
    hearing.aboveEarlierDb[73] = c.fundamentalDb - c.earlierDb;
    const int step[] = {73};
    EXPECT_EQ(holdsStep(hearing, step, 1), c.holds) << c.what;
  }
}

// A lone note is named, with an attack at its start; silence names nothing.
TEST(Detector, NamesTheClearestNoteAndFindsItsAttack) {
  const std::vector<Hearing> hearings = hear({64});
  EXPECT_EQ(strongestNote(hearings.back()), 64);
  EXPECT_TRUE(std::any_of(hearings.begin(), hearings.begin() + 15,
                          [](const Hearing& h) { return h.onset; }));
  EXPECT_EQ(strongestNote(hear({}).back()), -1);
}

}  // namespace
}  // namespace brenavo::listening
