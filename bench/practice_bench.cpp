// How quickly practice answers a note, and what listening costs. The program practises the
// default scale ("Esperar cada paso") from a private sound server whose default input is a
// pipe, fed at the pace of real time with the scale rendered by the program's synthesizer.
// Each note's onset is the moment its first sample would have reached a microphone; the
// feedback is drawn when the step turns green.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "platform/fluidsynth/fluid_midi_device.h"
#include "platform/qt/main_window.h"
#include "practice/practice_steps.h"
#include "private_pulse.h"

namespace {

using namespace brenavo;

constexpr int kRate = 44100;
constexpr size_t kChunk = kRate / 100;  // a microphone's 10 ms
constexpr double kLeadSeconds = 0.5;
constexpr double kNoteSeconds = 0.7;
constexpr double kGapSeconds = 0.1;
constexpr double kLatencyTargetMs = 100;
constexpr double kCpuTargetPercent = 10;

int64_t nowNs(clockid_t clock = CLOCK_MONOTONIC) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct Rendered {
  std::vector<float> sound;
  std::vector<size_t> onsets;  // the first sample of each note
};

Rendered render(const std::vector<int>& notes) {
  Rendered out;
  fluid::FluidMidiDevice synth({.output = fluid::Output::Buffer, .sampleRate = kRate});
  if (!synth.open()) return out;
  synth.shortMessage(0xC0 | IDRB_TANGO_ACC << 8);
  out.sound.assign(static_cast<size_t>(kLeadSeconds * kRate), 0.0f);
  std::vector<float> left, right;
  const auto play = [&](double seconds) {
    left.assign(static_cast<size_t>(seconds * kRate), 0.0f);
    right.resize(left.size());
    synth.render(left.data(), right.data(), static_cast<int>(left.size()));
    out.sound.insert(out.sound.end(), left.begin(), left.end());
  };
  for (int note : notes) {
    out.onsets.push_back(out.sound.size());
    synth.shortMessage(0x90 | static_cast<uint32_t>(note) << 8 | 127 << 16);
    play(kNoteSeconds);
    synth.shortMessage(0x80 | static_cast<uint32_t>(note) << 8);
    play(kGapSeconds);
  }
  return out;
}

// When each step turned green, watched through the window procedure.
std::vector<int64_t> acceptedNs;

int32_t watchingProc(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const bool wasRight = program.practice.showingRight;
  const int step = program.practice.current;
  const int32_t result = WindowFunc(program, message, wParam, lParam);
  if (message == WM_PRACTICE_HEARD && !wasRight && program.practice.showingRight &&
      step < static_cast<int>(acceptedNs.size()))
    acceptedNs[static_cast<size_t>(step)] = nowNs();
  return result;
}

// Each chunk goes into the pipe once its last sample has happened, as from a microphone.
void feed(const std::string& pipePath, const std::vector<float>& sound, int64_t startNs,
          int64_t& feederCpuNs) {
  const int pipe = ::open(pipePath.c_str(), O_WRONLY | O_NONBLOCK);
  if (pipe < 0) return;
  const int64_t cpuStart = nowNs(CLOCK_THREAD_CPUTIME_ID);
  for (size_t at = 0; at < sound.size(); at += kChunk) {
    const size_t frames = std::min(kChunk, sound.size() - at);
    const int64_t dueNs = startNs + static_cast<int64_t>((at + frames) * 1e9 / kRate);
    const timespec due{static_cast<time_t>(dueNs / 1000000000LL), static_cast<long>(dueNs % 1000000000LL)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    (void)!::write(pipe, sound.data() + at, frames * sizeof(float));
  }
  feederCpuNs = nowNs(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
  ::close(pipe);
}

void printRow(const char* figure, double value, const char* unit, const char* target, bool met) {
  std::printf("  %-52s %8.1f %-3s %-10s %s\n", figure, value, unit, target, met ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char* argv[]) {
  char folder[] = "/tmp/brenavo-practice-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 0;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("XDG_CONFIG_HOME", folder, 1);
  std::printf("\nPractice, \"Esperar cada paso\" on the default scale through a private sound server\n");
  testing::PrivatePulse pulse;
  if (!pulse.running()) {
    std::printf("  n/a: %s\n", pulse.failure().c_str());
    return 0;
  }
  pulse.useForThisProcess();
  const std::string pipe = std::string(folder) + "/microphone";
  const std::string load = "pactl load-module module-pipe-source source_name=brenavo_mic file='" +
                           pipe + "' format=float32le rate=44100 channels=1 >/dev/null";
  if (std::system(load.c_str()) != 0 || std::system("pactl set-default-source brenavo_mic") != 0) {
    std::printf("  n/a: the pipe input could not be made\n");
    return 0;
  }
  QApplication application(argc, argv);
  fakes::RecordingPlatform desktop;  // MIDI output and settings: nothing of them is measured
  qt::MainWindow window(desktop, desktop);
  window.program().windowProc = watchingProc;
  std::vector<int> notes;
  for (const PracticeStep& step : practiceSteps(window.program().sel)) notes.push_back(step.notes[0]);
  const Rendered scale = render(notes);
  if (scale.sound.empty()) {
    std::printf("  n/a: the synthesizer did not open (install fluid-soundfont-gm)\n");
    return 0;
  }
  acceptedNs.assign(notes.size(), -1);

  QTimer closer;  // the summary at the end is answered at once
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
  });
  closer.start(50);
  window.desktop().sendCommand(IDM_PRACTICE_WAIT);
  const int64_t startNs = nowNs();
  const int64_t cpuStartNs = nowNs(CLOCK_PROCESS_CPUTIME_ID);
  int64_t feederCpuNs = 0;
  std::atomic<bool> fed{false};
  std::thread feeder([&] {
    feed(pipe, scale.sound, startNs, feederCpuNs);
    fed = true;
  });
  QTimer finisher;
  QObject::connect(&finisher, &QTimer::timeout, [&] {
    if (fed) QApplication::quit();
  });
  finisher.start(20);
  QApplication::exec();
  feeder.join();
  const double cpuNs = static_cast<double>(nowNs(CLOCK_PROCESS_CPUTIME_ID) - cpuStartNs - feederCpuNs);
  const double wallNs = static_cast<double>(nowNs() - startNs);

  std::vector<double> latenciesMs;
  for (size_t step = 0; step < notes.size(); ++step)
    if (acceptedNs[step] >= 0)
      latenciesMs.push_back((acceptedNs[step] - startNs) / 1e6 - scale.onsets[step] * 1000.0 / kRate);
  std::sort(latenciesMs.begin(), latenciesMs.end());
  if (latenciesMs.empty()) {
    std::printf("  n/a: no step was heard right\n");
  } else {
    const double medianMs = latenciesMs[latenciesMs.size() / 2];
    std::printf("  %zu of %zu steps heard right; onset to green from %.1f to %.1f ms\n",
                latenciesMs.size(), notes.size(), latenciesMs.front(), latenciesMs.back());
    printRow("note onset to feedback drawn, median", medianMs, "ms", "<= 100 ms", medianMs <= kLatencyTargetMs);
  }
  const double cpuPercent = 100.0 * cpuNs / wallNs;
  printRow("listening: CPU of the whole program while practising", cpuPercent, "%", "<= 10 %",
           cpuPercent <= kCpuTargetPercent);
  std::string remove = std::string("rm -rf '") + folder + "'";
  (void)!std::system(remove.c_str());
  return 0;
}
