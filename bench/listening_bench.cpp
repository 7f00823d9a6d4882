// How well the listener hears the program's own synthesizer, with its reverb, in a room with
// noise 20 dB below the music: right steps accepted within 150 ms of their sound's onset, wrong
// ones rejected, silence and noise never accepted, and what listening costs. `make bench` runs it.
#include <time.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "listening/hearing.h"
#include "listening_cases.h"
#include "model/ids.h"
#include "platform/fluidsynth/fluid_midi_device.h"

namespace brenavo::bench {

namespace {

using listening::Hearing;

constexpr int kRate = 44100;
constexpr double kBeforeSeconds = 0.30;  // the step before sounds this long
constexpr double kStepSeconds = 0.40;    // then the step itself
constexpr double kAcceptWithinMs = 150.0;
constexpr double kSignalToNoiseDb = 20.0;
constexpr double kTargetPercent = 99.0;
constexpr double kCostTargetPercent = 10.0;
constexpr std::size_t kInputChunk = 1024;  // frames an audio input delivers at a time
// A note's sound begins when its loudness first comes within 20 dB of its peak: a little sooner
// than listeners hear a tone begin (within about 15 dB of its peak, Vos and Rasch, 1981). A piano
// or guitar note gets there 1-11 ms after its note-on, an accordion's 3-25 ms, while a piccolo's
// swells for 11-120 ms, the longest in its lowest notes: measured from note-on, the listener
// would be charged for the sample's attack, not for its own delay.
constexpr double kSoundBeginsBelowPeakDb = 20.0;
constexpr std::size_t kEnvelopeFrames = kRate / 1000;  // the loudness is followed ms by ms

struct Voice {
  const char* name;
  int program;
};
constexpr std::array<Voice, 4> kVoices = {{{"accordion", IDRB_TANGO_ACC},
                                           {"flute (piccolo)", IDRB_PICCOLO},
                                           {"piano", IDRB_GRAND_PIANO},
                                           {"guitar", IDRB_GUITAR_STEEL}}};

// Room noise: pink (equal energy per octave), from Paul Kellet's economy filter.
class RoomNoise {
 public:
  float next() {
    const float white = spread_(random_);
    b0_ = 0.99765f * b0_ + white * 0.0990460f;
    b1_ = 0.96300f * b1_ + white * 0.2965164f;
    b2_ = 0.57000f * b2_ + white * 1.0526913f;
    return 0.25f * (b0_ + b1_ + b2_ + white * 0.1848f);
  }

 private:
  std::mt19937 random_{15};
  std::uniform_real_distribution<float> spread_{-1.0f, 1.0f};
  float b0_ = 0, b1_ = 0, b2_ = 0;
};

double rms(const float* samples, std::size_t count) {
  double sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += samples[i] * samples[i];
  return std::sqrt(sum / std::max<std::size_t>(count, 1));
}

// The next `frames` of room noise at the given RMS level.
std::vector<float> roomNoise(RoomNoise& source, std::size_t frames, double level) {
  std::vector<float> noise(frames);
  for (float& sample : noise) sample = source.next();
  const double gain = level / std::max(rms(noise.data(), frames), 1e-12);
  for (float& sample : noise) sample = static_cast<float>(sample * gain);
  return noise;
}

// One long take: every case in turn, its step before, then the step, with room noise.
class Take {
 public:
  explicit Take(int program) : synth_({.output = fluid::Output::Buffer, .sampleRate = kRate}) {
    opened_ = synth_.open();
    synth_.shortMessage(0xC0 | program << 8);
  }
  bool opened() const { return opened_; }

  // Plays `before`, then `played`; returns the time the step starts, in ms.
  double add(const Notes& before, const Notes& played) {
    sound(before, kBeforeSeconds);
    const double onsetMs = 1000.0 * mono_.size() / kRate;
    const std::size_t stepStart = mono_.size();
    sound(played, kStepSeconds);
    addNoise(stepStart, before.empty() && played.empty());
    return onsetMs;
  }

  const std::vector<float>& mono() const { return mono_; }

 private:
  void sound(const Notes& notes, double seconds) {
    for (int note : sounding_) synth_.shortMessage(0x80 | note << 8);
    for (int note : notes) synth_.shortMessage(0x90 | note << 8 | 127 << 16);
    sounding_ = notes;
    const std::size_t frames = static_cast<std::size_t>(seconds * kRate);
    left_.resize(frames), right_.resize(frames);
    synth_.render(left_.data(), right_.data(), static_cast<int>(frames));
    for (std::size_t i = 0; i < frames; ++i) mono_.push_back(0.5f * (left_[i] + right_[i]));
  }

  // Room noise over the case just added, both of its parts, 20 dB below the step's music.
  void addNoise(std::size_t stepStart, bool silent) {
    const std::size_t caseFrames =
        static_cast<std::size_t>(kBeforeSeconds * kRate) + static_cast<std::size_t>(kStepSeconds * kRate);
    const double music = rms(mono_.data() + stepStart, mono_.size() - stepStart);
    const std::vector<float> noise =
        roomNoise(noise_, caseFrames, silent ? 0.0 : music / std::pow(10.0, kSignalToNoiseDb / 20.0));
    std::transform(noise.begin(), noise.end(), mono_.end() - caseFrames, mono_.end() - caseFrames,
                   std::plus<float>());
  }

  fluid::FluidMidiDevice synth_;
  bool opened_ = false;
  Notes sounding_;
  std::vector<float> left_, right_, mono_;
  RoomNoise noise_;
};

// The loudness of mono sound, ms by ms (RMS).
std::vector<double> envelope(const std::vector<float>& mono) {
  std::vector<double> loudness;
  for (std::size_t at = 0; at + kEnvelopeFrames <= mono.size(); at += kEnvelopeFrames)
    loudness.push_back(rms(mono.data() + at, kEnvelopeFrames));
  return loudness;
}

// When each of `notes`, played alone by `program` at full velocity, begins to sound: ms after
// its note-on. Zero for the other notes, and for all when the synthesizer does not open.
std::array<double, listening::NOTE_COUNT> soundOnsetsMs(int program, const std::set<int>& notes) {
  std::array<double, listening::NOTE_COUNT> onsets{};
  fluid::FluidMidiDevice synth({.output = fluid::Output::Buffer, .sampleRate = kRate});
  if (!synth.open()) return onsets;
  synth.shortMessage(0xC0 | program << 8);
  const std::size_t frames = static_cast<std::size_t>(kStepSeconds * kRate);
  std::vector<float> left(frames), right(frames), mono(frames);
  for (int note : notes) {
    synth.shortMessage(0x90 | note << 8 | 127 << 16);
    synth.render(left.data(), right.data(), static_cast<int>(frames));
    synth.shortMessage(0x80 | note << 8);
    std::transform(left.begin(), left.end(), right.begin(), mono.begin(),
                   [](float l, float r) { return 0.5f * (l + r); });
    const std::vector<double> loudness = envelope(mono);
    const double begins = *std::max_element(loudness.begin(), loudness.end()) *
                          std::pow(10.0, -kSoundBeginsBelowPeakDb / 20.0);
    const auto first = std::find_if(loudness.begin(), loudness.end(), [begins](double l) { return l >= begins; });
    onsets[note] = static_cast<double>(first - loudness.begin()) * kEnvelopeFrames * 1000.0 / kRate;
    for (int second = 0; second < 3; ++second)  // the note and its echo die away before the next
      synth.render(left.data(), right.data(), static_cast<int>(frames));
  }
  return onsets;
}

// When a step's sound begins: when the last of its notes does.
double stepSoundOnsetMs(const std::array<double, listening::NOTE_COUNT>& onsets, const Notes& notes) {
  double latest = 0;
  for (int note : notes) latest = std::max(latest, onsets[note]);
  return latest;
}

struct Heard {
  std::vector<Hearing> hearings;
  double cpuSeconds = 0;
};

// The processor time this thread has used, in seconds.
double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

Heard listen(const std::vector<float>& mono) {
  Heard heard;
  listening::Detector detector(kRate, 440.0);
  heard.hearings.reserve(mono.size() / 256);
  const double start = threadCpuSeconds();
  for (std::size_t at = 0; at < mono.size(); at += kInputChunk)
    detector.feed(mono.data() + at, std::min(kInputChunk, mono.size() - at), heard.hearings);
  heard.cpuSeconds = threadCpuSeconds() - start;
  return heard;
}

bool holds(const Hearing& hearing, const Notes& step) {
  return listening::holdsStep(hearing, step.data(), static_cast<int>(step.size()));
}

// The first hearing after `fromMs` that holds the step, up to `untilMs`; -1 if none does.
double firstHeld(const std::vector<Hearing>& hearings, const Notes& step, double fromMs, double untilMs) {
  auto it = std::upper_bound(hearings.begin(), hearings.end(), fromMs,
                             [](double ms, const Hearing& h) { return ms < h.timeMs; });
  for (; it != hearings.end() && it->timeMs <= untilMs; ++it)
    if (holds(*it, step)) return it->timeMs - fromMs;
  return -1;
}

struct Tally {
  std::array<double, PLAYED_KINDS> good{}, all{};
  double rightFromNoteOn = 0;       // right steps accepted within 150 ms of their note-on
  std::vector<double> latenciesMs;  // of the right steps, from their sound's onset to acceptance
  double audioSeconds = 0, cpuSeconds = 0;
};

double percent(double part, double whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

void printRow(const std::string& figure, double value, const std::string& unit, const std::string& target,
              bool met) {
  std::printf("  %-44s %9.2f %-3s %-12s %s\n", figure.c_str(), value, unit.c_str(), target.c_str(),
              met ? "met" : "NOT met");
}

// One case in `stride`, drawn at random (1: all of them), is played.
Tally measureVoice(const Voice& voice, const std::map<Case, int>& cases, int stride) {
  Tally tally;
  Take take(voice.program);
  if (!take.opened()) return tally;
  std::vector<std::pair<const Case*, double>> noteOns;
  std::set<int> played;
  std::mt19937 draw(voice.program);
  for (const auto& [c, steps] : cases)
    if (draw() % stride == 0) {
      noteOns.emplace_back(&c, take.add(c.before, c.played));
      played.insert(c.played.begin(), c.played.end());
    }
  const std::array<double, listening::NOTE_COUNT> soundOnsets = soundOnsetsMs(voice.program, played);
  const Heard heard = listen(take.mono());
  tally.audioSeconds = static_cast<double>(take.mono().size()) / kRate;
  tally.cpuSeconds = heard.cpuSeconds;
  for (const auto& [c, noteOnMs] : noteOns) {
    const int steps = cases.at(*c);
    const int kind = static_cast<int>(c->kind);
    tally.all[kind] += steps;
    const double held = firstHeld(heard.hearings, c->expected, noteOnMs, noteOnMs + 1000 * kStepSeconds);
    if (c->kind != Played::Right) {
      if (held < 0) tally.good[kind] += steps;
    } else if (held >= 0) {
      // Held before the step's sound reached its onset level counts as no delay at all.
      const double latency = std::max(0.0, held - stepSoundOnsetMs(soundOnsets, c->played));
      if (latency <= kAcceptWithinMs) tally.good[kind] += steps;
      if (held <= kAcceptWithinMs) tally.rightFromNoteOn += steps;
      tally.latenciesMs.push_back(latency);
    }
  }
  return tally;
}

// Hearings of silence, of room noise and of white noise (RMS -60, -40 and -20 dB full scale)
// that hold any step.
std::pair<int, int> noiseAccepted(const std::set<Notes>& steps) {
  std::vector<float> sound(static_cast<std::size_t>(2.0 * kRate), 0.0f);
  RoomNoise room;
  std::mt19937 random(3);
  std::uniform_real_distribution<float> white(-1.0f, 1.0f);
  for (float level : {0.001f, 0.01f, 0.1f}) {
    const std::vector<float> noise = roomNoise(room, 2 * kRate, level);
    sound.insert(sound.end(), noise.begin(), noise.end());
    for (int i = 0; i < 2 * kRate; ++i) sound.push_back(level * 1.7f * white(random));
  }
  const Heard heard = listen(sound);
  int accepted = 0;
  for (const Hearing& hearing : heard.hearings)
    accepted += std::any_of(steps.begin(), steps.end(), [&](const Notes& s) { return holds(hearing, s); });
  return {accepted, static_cast<int>(heard.hearings.size())};
}

void printVoice(const Voice& voice, const Tally& tally, int stride) {
  std::printf("\n%s (program %d)%s\n", voice.name, voice.program,
              stride > 1 ? (", one case in " + std::to_string(stride) + " drawn at random").c_str() : "");
  if (tally.all[0] == 0) {
    std::printf("  n/a: the synthesizer did not open (install fluid-soundfont-gm)\n");
    return;
  }
  const double right = percent(tally.good[0], tally.all[0]);
  printRow("right steps accepted within 150 ms of sound", right, "%", ">= 99 %", right >= kTargetPercent);
  std::printf("  %-44s %9.2f %%   (for comparison: a slow attack counts against the listener)\n",
              "  the same within 150 ms of their note-on", percent(tally.rightFromNoteOn, tally.all[0]));
  double good = 0, all = 0;
  for (int kind = 1; kind < PLAYED_KINDS; ++kind) {
    const double rejected = percent(tally.good[kind], tally.all[kind]);
    printRow(std::string("wrong rejected: ") + playedName(static_cast<Played>(kind)), rejected, "%", ">= 99 %",
             rejected >= kTargetPercent);
    good += tally.good[kind], all += tally.all[kind];
  }
  printRow("wrong steps rejected, all", percent(good, all), "%", ">= 99 %", percent(good, all) >= kTargetPercent);
  std::vector<double> latencies = tally.latenciesMs;
  std::sort(latencies.begin(), latencies.end());
  const double median = latencies.empty() ? 0 : latencies[latencies.size() / 2];
  printRow("median from sound onset to acceptance", median, "ms", "<= 100 ms", median <= 100);
  const double cost = percent(tally.cpuSeconds, tally.audioSeconds);
  printRow("listening cost, one core at real time", cost, "%", "<= 10 %", cost <= kCostTargetPercent);
}

}  // namespace

}  // namespace brenavo::bench

int main(int argc, char** argv) {
  using namespace brenavo::bench;
  // Arguments: one case in how many the accordion plays (all of them by default), and the
  // other voices (one in eight by default, to keep the run short).
  const int accordionStride = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const int stride = argc > 2 ? std::max(1, std::atoi(argv[2])) : 8;
  const std::map<Case, int> cases = listeningCases();
  std::set<Notes> steps;
  std::array<int, PLAYED_KINDS> counts{};
  for (const auto& [c, n] : cases) steps.insert(c.expected), counts[static_cast<int>(c.kind)] += n;
  std::printf("Listening: %d right steps, %d wrong (%d semitone, %d octave, %d voice missing) from the tables, "
              "%zu distinct sounds, each %.2f s after %.2f s of the step before; reverb, room noise at 20 dB SNR\n",
              counts[0], counts[1] + counts[2] + counts[3], counts[1], counts[2], counts[3], cases.size(),
              kStepSeconds, kBeforeSeconds);
  const auto [accepted, hearings] = noiseAccepted(steps);
  std::printf("\nsilence and noise alone (%d hearings, %zu steps each)\n", hearings, steps.size());
  printRow("hearings that hold a step", accepted, "", "0", accepted == 0);
  for (const Voice& voice : kVoices) {
    const int voiceStride = voice.program == brenavo::IDRB_TANGO_ACC ? accordionStride : stride;
    printVoice(voice, measureVoice(voice, cases, voiceStride), voiceStride);
    std::fflush(stdout);
  }
  return 0;
}
