#include "measuring_program.h"

#include <pthread.h>
#include <sched.h>

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/qt/canvas.h"
#include "platform/qt/main_window.h"

namespace brenavo::bench {

namespace {
constexpr uint32_t kNoteOnStatus = 0x90;
constexpr size_t kNoteOnsExpected = 4096;
constexpr int kDriverPriority = 60;  // FluidSynth's audio.realtime-prio
}  // namespace

void report(const std::string& name, const std::vector<double>& values) {
  std::printf("%s", name.c_str());
  for (double value : values) std::printf(" %.6f", value);
  std::printf("\n");
}

void report(const std::string& name, double value) { report(name, std::vector<double>{value}); }

void reportText(const std::string& name, const std::string& text) {
  std::printf("%s %s\n", name.c_str(), text.c_str());
}

void fail(const std::string& reason) {
  reportText("failed", reason);
  std::fflush(stdout);
  std::_Exit(3);
}

void finish() {
  std::fflush(stdout);
  std::_Exit(0);
}

fluid::FluidOptions deviceOptions(const std::string& drivers) {
  fluid::FluidOptions options;
  if (drivers == "-") {
    options.output = fluid::Output::Buffer;
    return options;
  }
  options.audioDrivers.clear();
  std::stringstream names(drivers);
  for (std::string name; std::getline(names, name, ',');) options.audioDrivers.push_back(name);
  return options;
}

void waitMs(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

// ---- StampedMidi

StampedMidi::StampedMidi(platform::MidiDevice& synth) : synth_(synth) {
  noteOnNs_.reserve(kNoteOnsExpected);
}

bool StampedMidi::open() {
  openCalledNs_ = monotonicNs();
  const bool opened = synth_.open();
  openedNs_ = monotonicNs();
  if (!opened) fail("the synthesizer did not open (SoundFont or audio driver missing)");
  return true;
}

// The moment is taken as the message is handed to the synth.
uint32_t StampedMidi::shortMessage(uint32_t packed) {
  const bool noteOn = (packed & 0xF0) == kNoteOnStatus && ((packed >> 16) & 0x7F) != 0;
  if (noteOn) noteOnNs_.push_back(monotonicNs());
  return synth_.shortMessage(packed);
}

// ---- MeasuredProgram

MeasuredProgram::MeasuredProgram(int& argc, char** argv, const fluid::FluidOptions& options)
    : synth_(options), application_(argc, argv), midi_(synth_.device), desktop_(midi_) {}

void MeasuredProgram::showAndWaitForFirstPaint() {
  application_.watch(&window().canvas(), [] { QCoreApplication::exit(0); });
  window().show();
  QApplication::exec();
}

// ---- PacedRenderer

PacedRenderer::PacedRenderer(fluid::FluidMidiDevice& synth) : synth_(synth) {
  if (synth_.audioDriverStarted()) return;
  thread_ = std::thread([this] { run(); });
  sched_param priority{};
  priority.sched_priority = kDriverPriority;
  realtime_ = pthread_setschedparam(thread_.native_handle(), SCHED_FIFO, &priority) == 0;
}

PacedRenderer::~PacedRenderer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

// A driver asks for period k once period k - periods has played, and must have it before
// the periods still queued have played.
void PacedRenderer::run() {
  const fluid::FluidOptions& options = synth_.options();
  const int frames = options.periodSize;
  const int64_t periodNs = static_cast<int64_t>(frames) * 1'000'000'000 / options.sampleRate;
  const int64_t queuedNs = periodNs * (options.periods - 1);
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  int64_t dueNs = monotonicNs();
  while (!stopping_) {
    const timespec due{static_cast<time_t>(dueNs / 1'000'000'000),
                       static_cast<long>(dueNs % 1'000'000'000)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    synth_.render(left.data(), right.data(), frames);
    if (monotonicNs() > dueNs + queuedNs) ++late_;
    dueNs += periodNs;
  }
}

}  // namespace brenavo::bench
