#include "measurements.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "measuring_program.h"
#include "model/ids.h"
#include "private_pulse.h"
#include "platform/qt/main_window.h"

namespace brenavo::bench {

namespace {

constexpr int kVoices[] = {23, 72, 0, 24};  // accordion, piccolo, piano, steel guitar
constexpr int kMiddleC = 60;
constexpr int kStepMs = 250;
constexpr int kSteps = 100;
constexpr int kQuietSeconds = 30;   // before the idle CPU is taken
constexpr int kIdleSeconds = 10;    // how long it is taken
constexpr int kOnsetNotes = 5;
constexpr int kTailMs = 1000;
constexpr int kUnderrunLoopSeconds = 60;
// -80 dB: the first sample louder than this is where the note is heard.
constexpr float kAudible = 1e-4f;

uint32_t pack(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 |
         static_cast<uint32_t>(data2) << 16;
}
uint32_t noteOn(int note) { return pack(0x90, note, 127); }
uint32_t noteOff(int note) { return pack(0x80, note, 0); }
uint32_t programChange(int voice) { return pack(0xC0, voice); }

long peakResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// User and system time of another process, from /proc/PID/stat (fields 14 and 15, after
// the command name in parentheses); 0 when it cannot be read.
double cpuSecondsOf(pid_t process) {
  std::ifstream file("/proc/" + std::to_string(process) + "/stat");
  const std::string stat((std::istreambuf_iterator<char>(file)), {});
  const size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return 0;
  std::istringstream fields(stat.substr(nameEnd + 2));
  std::string field;
  double ticks = 0;
  for (int number = 3; number <= 15 && fields >> field; ++number)
    if (number >= 14) ticks += std::stod(field);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// After kQuietSeconds of quiet, the share of a core the program and the server take over
// kIdleSeconds, as NAME_program and NAME_server.
void reportIdleCpu(const std::string& name, pid_t server) {
  waitMs(kQuietSeconds * 1000);
  const double program = cpuSeconds(), serverBefore = cpuSecondsOf(server);
  const int64_t before = monotonicNs();
  waitMs(kIdleSeconds * 1000);
  const double wall = (monotonicNs() - before) / 1e9;
  report(name + "_program", 100.0 * (cpuSeconds() - program) / wall);
  report(name + "_server", 100.0 * (cpuSecondsOf(server) - serverBefore) / wall);
}

// From a note-on handed to the synth to its first sample on the sink (-1 when none came
// within a second); the note is then released.
double onsetOnSinkMs(fluid::FluidMidiDevice& synth, const testing::MonitorRecording& sink,
                     int note) {
  const int64_t struck = monotonicNs();
  synth.shortMessage(noteOn(note));
  const int64_t heard = sink.firstLoudSince(struck, kAudible, 1000);
  synth.shortMessage(noteOff(note));
  return heard < 0 ? -1 : nsToMs(heard - struck);
}

void reportOutput(fluid::FluidMidiDevice& synth, bool paced) {
  if (synth.audioDriverStarted()) {
    reportText("output", "driver " + synth.audioDriverName());
  } else {
    reportText("output", paced ? "paced-render" : "none");
  }
}

// Where each step's first note-on fell, against its due time k x 250 ms after start, for
// the steps 1..kSteps that sounded (step 0 is played by the command itself): its signed
// distance from the due time, how late the timer event that carried it began, and how
// long the step worked before handing the note-on over. All in ms.
struct StepTimes {
  std::vector<double> deviation;
  std::vector<double> wake;
  std::vector<double> work;
};

StepTimes stepTimes(const std::vector<int64_t>& noteOns, const std::vector<int64_t>& timerEvents,
                    int64_t startNs) {
  StepTimes times;
  const double stepNs = kStepMs * 1e6;
  int64_t lastStep = 0;
  for (int64_t at : noteOns) {
    const int64_t step = std::llround((at - startNs) / stepNs);
    if (step <= lastStep || step > kSteps) continue;
    lastStep = step;
    const double dueNs = startNs + step * stepNs;
    const auto next = std::upper_bound(timerEvents.begin(), timerEvents.end(), at);
    const int64_t tickNs = next == timerEvents.begin() ? at : *std::prev(next);
    times.deviation.push_back((at - dueNs) / 1e6);
    times.wake.push_back((tickNs - dueNs) / 1e6);
    times.work.push_back((at - tickNs) / 1e6);
  }
  return times;
}

// Time from a note-on to the first audible sample, in ms; -1 when nothing sounded.
double onsetMs(int voice) {
  fluid::FluidOptions options = deviceOptions("-");
  fluid::FluidMidiDevice synth(options);
  if (!synth.open()) return -1;
  synth.shortMessage(programChange(voice));
  const int frames = options.periodSize;
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  for (int warm = 0; warm < 50; ++warm) synth.render(left.data(), right.data(), frames);
  synth.shortMessage(noteOn(kMiddleC));
  for (int period = 0; period < 100; ++period) {
    synth.render(left.data(), right.data(), frames);
    for (int i = 0; i < frames; ++i) {
      if (std::fabs(left[i]) > kAudible || std::fabs(right[i]) > kAudible)
        return 1000.0 * (period * frames + i) / options.sampleRate;
    }
  }
  return -1;
}

// Time the synth takes to render each of 400 periods with the given notes held, as a
// percentage of the period's length.
std::vector<double> renderCostPercent(const std::vector<int>& notes) {
  fluid::FluidOptions options = deviceOptions("-");
  fluid::FluidMidiDevice synth(options);
  if (!synth.open()) return {};
  synth.shortMessage(programChange(kVoices[0]));
  for (int note : notes) synth.shortMessage(noteOn(note));
  const int frames = options.periodSize;
  const double periodNs = 1e9 * frames / options.sampleRate;
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  for (int warm = 0; warm < 20; ++warm) synth.render(left.data(), right.data(), frames);
  std::vector<double> costs;
  for (int period = 0; period < 400; ++period) {
    const int64_t before = monotonicNs();
    synth.render(left.data(), right.data(), frames);
    costs.push_back(100.0 * (monotonicNs() - before) / periodNs);
  }
  return costs;
}

}  // namespace

void probeAudio(const std::string& drivers) {
  fluid::FluidMidiDevice buffered(deviceOptions("-"));
  reportText("soundfont", buffered.open() ? buffered.soundFontPath() : std::string("none"));
  if (drivers == "-") {
    reportText("driver", "none");
    finish();
  }
  fluid::FluidMidiDevice playing(deviceOptions(drivers));
  reportText("driver", playing.open() ? playing.audioDriverName() : std::string("none"));
  finish();
}

void measureStart(int& argc, char** argv, const std::string& drivers) {
  MeasuredProgram program(argc, argv, deviceOptions(drivers));
  program.showAndWaitForFirstPaint();
  report("main_ns", static_cast<double>(mainReachedNs()));
  report("open_called_ns", static_cast<double>(program.midi().openCalledNs()));
  report("synth_ready_ns", static_cast<double>(program.midi().openedNs()));
  report("first_paint_ns", static_cast<double>(program.firstPaintNs()));
  finish();
}

void measureMemory(int& argc, char** argv, const std::string& drivers,
                   bool dynamicLoading) {
  fluid::FluidOptions options = deviceOptions(drivers);
  options.dynamicSampleLoading = dynamicLoading;
  MeasuredProgram program(argc, argv, options);
  program.showAndWaitForFirstPaint();
  PacedRenderer renderer(program.synth());
  for (int voice : kVoices) {
    program.midi().shortMessage(programChange(voice));
    program.midi().shortMessage(noteOn(kMiddleC));
    waitMs(300);
    program.midi().shortMessage(noteOff(kMiddleC));
    waitMs(200);
  }
  reportText("soundfont", program.synth().soundFontPath());
  reportOutput(program.synth(), renderer.running());
  report("peak_rss_kb", static_cast<double>(peakResidentKilobytes()));
  finish();
}

// The default selection (a diatonic scale of 15 steps) in Loop: a note-on at every step
// but the releasing one of each run.
void measureSteps(int& argc, char** argv, const std::string& drivers, bool coarseTimer) {
  MeasuredProgram program(argc, argv, deviceOptions(drivers));
  program.showAndWaitForFirstPaint();
  if (program.window().program().sel.vPos != 1) fail("the tempo is not 250 ms per step");
  PacedRenderer renderer(program.synth());
  waitMs(500);

  qt::QtPlatform& desktop = program.window().desktop();
  QTimer coarse;
  coarse.setTimerType(Qt::CoarseTimer);
  QObject::connect(&coarse, &QTimer::timeout, [&desktop] {
    desktop.send(WM_TIMER, IDM_PLAY_TIMER, 0);
    desktop.killTimer(IDM_PLAY_TIMER);  // a run that starts again restarts the program's timer
  });
  const int64_t startNs = monotonicNs();
  desktop.sendCommand(IDPB_LOOP);
  if (coarseTimer) {
    desktop.killTimer(IDM_PLAY_TIMER);
    coarse.start(kStepMs);
  }
  waitMs(kSteps * kStepMs + kStepMs / 2);

  reportOutput(program.synth(), renderer.running());
  const StepTimes times =
      stepTimes(program.midi().noteOnNs(), program.application().timerEventsNs(), startNs);
  report("step_deviation_ms", times.deviation);
  report("step_wake_ms", times.wake);
  report("step_work_ms", times.work);
  reportText("renderer", renderer.realtime() ? "realtime" : "normal");
  report("late_periods", static_cast<double>(program.synth().audioDriverStarted()
                                                  ? program.synth().outputLatePeriods()
                                                  : renderer.latePeriods()));
  finish();
}

void measureSleep(int& argc, char** argv, const std::string& drivers) {
  const char* serverPid = std::getenv("BENCH_SERVER_PID");
  const char* server = std::getenv("PULSE_SERVER");
  if (serverPid == nullptr || server == nullptr) fail("no private sound server");
  MeasuredProgram program(argc, argv, deviceOptions(drivers));
  program.showAndWaitForFirstPaint();
  const pid_t serverProcess = std::atoi(serverPid);
  reportIdleCpu("idle_start", serverProcess);
  program.window().desktop().sendCommand(IDPB_PLAY);
  while (program.window().program().sel.ctrlPlay) waitMs(100);
  reportIdleCpu("idle_run", serverProcess);

  testing::MonitorRecording sink(server, std::string(testing::PrivatePulse::kSinkName) + ".monitor");
  if (!sink.flowing()) fail("the sink's monitor cannot be recorded");
  fluid::FluidMidiDevice& synth = program.synth();
  std::vector<double> asleep = {onsetOnSinkMs(synth, sink, kMiddleC)};  // after 40 s silence
  std::vector<double> playing;
  for (int note = kMiddleC + 1; note <= kMiddleC + kOnsetNotes; ++note) {
    waitMs(kTailMs);  // the last note's tail has died; the stream plays on
    playing.push_back(synth.outputAwake() ? onsetOnSinkMs(synth, sink, note) : -1);
  }
  for (int note = kMiddleC + 1; note < kMiddleC + kOnsetNotes; ++note) {
    while (synth.outputAwake()) waitMs(100);
    asleep.push_back(onsetOnSinkMs(synth, sink, note));
  }
  report("onset_playing_ms", playing);
  report("onset_asleep_ms", asleep);
  report("stream_openings", synth.outputOpenings());
  finish();
}

void measureUnderruns(int& argc, char** argv, const std::string& drivers) {
  MeasuredProgram program(argc, argv, deviceOptions(drivers));
  program.showAndWaitForFirstPaint();
  program.window().desktop().sendCommand(IDPB_LOOP);
  waitMs(kUnderrunLoopSeconds * 1000);
  program.window().desktop().sendCommand(IDPB_STOP);
  reportOutput(program.synth(), false);
  report("late_periods", program.synth().outputLatePeriods());
  report("stream_openings", program.synth().outputOpenings());
  finish();
}

void measureAudio() {
  const fluid::FluidOptions options = deviceOptions("-");
  for (int sampleRate : {44100, 48000}) {
    fluid::FluidOptions at = options;
    at.sampleRate = sampleRate;
    report("latency_ms_" + std::to_string(sampleRate), fluid::FluidMidiDevice(at).latencyMs());
  }
  std::vector<double> onsets;
  for (int voice : kVoices) onsets.push_back(onsetMs(voice));
  report("onset_ms", onsets);
  report("render_chord_percent", renderCostPercent({60, 64, 67, 72}));
  std::vector<int> everyVoice;
  for (int note = 36; note < 36 + 64; ++note) everyVoice.push_back(note);
  report("render_full_percent", renderCostPercent(everyVoice));
  finish();
}

}  // namespace brenavo::bench
