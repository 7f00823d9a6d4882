#include "benchmarks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "clock.h"

namespace brenavo::bench {

namespace {

constexpr int kStartRuns = 9;
constexpr int kMemoryRuns = 3;
constexpr int kStepRuns = 3;
constexpr int kDriftSteps = 10;
constexpr double kFirstPaintFactor = 1.5;
constexpr double kSynthReadyMs = 120;
constexpr double kPeakMemoryMb = 64;
constexpr double kStepToleranceMs = 1;
constexpr double kLatencyMs = 10;
constexpr double kRenderShare = 10;  // % of a period, at the median
constexpr double kIdleCpu = 1;       // % of one core, program and server together
constexpr double kOnsetOnSinkMs = 15;
constexpr const char* kServerUnderrun = "Implicit underrun";
// The private server suspends a sink a second after its last stream ended.
constexpr std::chrono::milliseconds kSinkSuspended{1500};
constexpr int kBookletRuns = 3;
constexpr double kBookletSeconds = 10;
constexpr const char* kDefaultDrivers = "pipewire,pulseaudio,alsa";

std::string withUnit(double value, const char* unit) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f %s", value, unit);
  return text;
}

void progress(const std::string& what) {
  std::fprintf(stderr, "bench: %s\n", what.c_str());
}

size_t countLines(const std::string& text, const char* containing) {
  size_t count = 0;
  for (size_t at = text.find(containing); at != std::string::npos;
       at = text.find(containing, at + 1))
    ++count;
  return count;
}

// The one-minute load average, as the system gives it.
std::string loadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string oneMinute = "n/a";
  file >> oneMinute;
  return oneMinute;
}

bool allAtMost(const std::vector<double>& values, double limit) {
  return std::all_of(values.begin(), values.end(), [limit](double v) { return v <= limit; });
}

double mean(std::vector<double>::const_iterator from, std::vector<double>::const_iterator to) {
  return from == to ? 0.0 : std::accumulate(from, to, 0.0) / static_cast<double>(to - from);
}

// What one run of 100 steps gives.
struct StepFigures {
  double worstMs = 0;   // largest distance from its due time, either way
  double medianMs = 0;  // signed
  double driftMs = 0;   // last steps' mean against the first steps' mean
  double wakeMs = 0;    // median lateness of the timer event that carried the step
  double workMs = 0;    // median time the step worked before its note-on
  size_t steps = 0;
};

StepFigures stepFigures(const ChildReport& run) {
  const std::vector<double> deviations = run.numbers("step_deviation_ms");
  StepFigures figures;
  figures.steps = deviations.size();
  if (deviations.empty()) return figures;
  for (double deviation : deviations)
    figures.worstMs = std::max(figures.worstMs, std::fabs(deviation));
  figures.medianMs = median(deviations);
  const auto span = std::min<std::ptrdiff_t>(kDriftSteps, deviations.size());
  figures.driftMs = mean(deviations.end() - span, deviations.end()) -
                    mean(deviations.begin(), deviations.begin() + span);
  figures.wakeMs = median(run.numbers("step_wake_ms"));
  figures.workMs = median(run.numbers("step_work_ms"));
  return figures;
}

// BENCH_ONLY=start,memory,audio,steps,sleep,underruns,live,booklet picks some of the parts; all run by default.
bool wanted(const std::string& part) {
  const char* only = std::getenv("BENCH_ONLY");
  if (only == nullptr || *only == '\0') return true;
  const std::string parts = std::string(",") + only + ",";
  return parts.find("," + part + ",") != std::string::npos;
}

}  // namespace

Benchmarks::Benchmarks(std::string self, std::string bareWindow,
                       const testing::PrivatePulse& server)
    : self_(std::move(self)), bareWindow_(std::move(bareWindow)), server_(server) {}

void Benchmarks::run() {
  probeSound();
  if (wanted("start")) measureStart();
  if (wanted("memory")) measureMemory();
  if (wanted("audio")) measureAudio();
  if (wanted("steps")) measureSteps();
  if (wanted("sleep")) measureSleep();
  if (wanted("underruns")) measureUnderruns();
  if (wanted("live")) measureLive();
  if (wanted("booklet")) measureBooklet();
  table_.print();
}

// Each measuring program starts as on a desktop, with the sink suspended. A null sink
// still idle from the program before sleeps up to two seconds before it takes a new
// stream's sound, and then counts an underrun that no sound card would.
ChildReport Benchmarks::measure(const std::vector<std::string>& args, int timeoutSeconds) {
  if (server_.running()) std::this_thread::sleep_for(kSinkSuspended);
  std::vector<std::string> all = {"--measure"};
  all.insert(all.end(), args.begin(), args.end());
  return runChild(self_, all, timeoutSeconds);
}

// On a virtual machine, what the host took from it while a timing part ran.
void Benchmarks::noteStolen(const std::string& part, const StolenTime& stolen) {
  table_.note("steal: during " + part + ", the virtual machine's host took " + stolen.describe() +
              " (0 on real hardware).");
}

std::string Benchmarks::soundLabel() const {
  return drivers_ == "-" ? "stand-in" : drivers_;
}

void Benchmarks::probeSound() {
  table_.note(server_.running()
                  ? "sound server: a private PulseAudio server (own runtime folder, a null sink, "
                    "no user or system configuration, suspend-on-idle after 1 s as on a desktop), "
                    "started for the bench and stopped at its end."
                  : "sound server: none could start (" + server_.failure() +
                        "); the sound rows are stand-in figures or n/a.");
  const char* asked = std::getenv("BENCH_AUDIO_DRIVERS");
  const std::string drivers = asked != nullptr && *asked != '\0' ? asked : kDefaultDrivers;
  progress("which audio driver starts (" + drivers + ")");
  const ChildReport probe = measure({"probe", drivers}, 60);
  const std::string driver = probe.text("driver");
  table_.note("SoundFont: " + (probe.ok() ? probe.text("soundfont") : probe.failure));
  if (probe.ok() && !driver.empty() && driver != "none") {
    drivers_ = driver;
    table_.note("sound: the FluidSynth driver \"" + driver + "\" plays.");
    return;
  }
  table_.note("sound: no audio driver starts here (tried " + drivers +
              "; no sound card), so the synth renders into buffers: where sound must run, a "
              "thread renders one period every period length in place of the driver "
              "(\"stand-in\"). Underruns cannot be heard here.");
}

void Benchmarks::measureStart() {
  std::vector<double> mains, paints, ready, waits;
  std::vector<double> bareMains, barePaints;
  std::string failure;
  for (int run = 0; run <= kStartRuns; ++run) {  // run 0 warms the caches and is not counted
    progress("start-up, run " + std::to_string(run) + " of " + std::to_string(kStartRuns));
    const ChildReport window = measure({"start", drivers_}, 30);
    const ChildReport reference = runChild(bareWindow_, {}, 30);
    if (run == 0) continue;
    const auto since = [](const ChildReport& child, const char* moment) {
      return nsToMs(child.number(moment) - child.forkedNs);
    };
    if (window.ok()) {
      mains.push_back(since(window, "main_ns"));
      paints.push_back(since(window, "first_paint_ns"));
      ready.push_back(since(window, "synth_ready_ns"));
      waits.push_back(nsToMs(window.number("synth_ready_ns") - window.number("open_called_ns")));
    } else {
      failure = window.failure;
    }
    if (reference.ok()) {
      bareMains.push_back(since(reference, "main_ns"));
      barePaints.push_back(since(reference, "first_paint_ns"));
    }
  }
  const double bareMs = median(barePaints);
  table_.add({"Start: main() reached (ms)", mains,
              "bare window " + withUnit(median(bareMains), "ms"), "-", std::nullopt, failure});
  Row paint{"Start: first paint (ms)", paints, "bare window " + withUnit(bareMs, "ms"),
            "<= 1.5 x bare", std::nullopt, failure};
  if (!paints.empty() && !barePaints.empty())
    paint.met = median(paints) <= kFirstPaintFactor * bareMs;
  table_.add(paint);
  Row synth{"Start: synth ready (ms)", ready, "-", "<= 120 ms", std::nullopt, failure};
  if (!ready.empty()) synth.met = median(ready) <= kSynthReadyMs;
  table_.add(synth);
  table_.add({"Start: window creation waited for the synth (ms)", waits, "-", "-", std::nullopt,
              failure});
  table_.note("start: times from the fork of a fresh process, offscreen; the first paint is "
              "the end of the first frame (painted and flushed) that shows the client area.");
}

void Benchmarks::measureMemory() {
  std::vector<double> dynamic;
  std::vector<double> whole;
  std::string failure;
  for (int run = 1; run <= kMemoryRuns; ++run) {
    progress("memory, run " + std::to_string(run) + " of " + std::to_string(kMemoryRuns));
    const ChildReport usual = measure({"memory", drivers_, "dynamic"}, 60);
    const ChildReport reference = measure({"memory", drivers_, "whole"}, 60);
    if (usual.ok()) {
      dynamic.push_back(usual.number("peak_rss_kb") / 1024);
    } else {
      failure = usual.failure;
    }
    if (reference.ok()) whole.push_back(reference.number("peak_rss_kb") / 1024);
  }
  Row row{"Memory: peak RSS, 4 voices played (MB)", dynamic,
          "whole SoundFont " + withUnit(median(whole), "MB"), "<= 64 MB", std::nullopt, failure};
  if (!dynamic.empty()) row.met = allAtMost(dynamic, kPeakMemoryMb);
  table_.add(row);
}

void Benchmarks::measureAudio() {
  progress("audio latency and rendering cost");
  const ChildReport audio = measure({"audio"}, 120);
  const std::vector<double> latency = {audio.number("latency_ms_44100"),
                                       audio.number("latency_ms_48000")};
  Row configured{"Audio: configured latency, 44.1 / 48 kHz (ms)",
                 audio.ok() ? latency : std::vector<double>{}, "-", "<= 10 ms", std::nullopt,
                 audio.failure};
  if (audio.ok()) configured.met = allAtMost(latency, kLatencyMs);
  table_.add(configured);

  const std::vector<double> onsets = audio.numbers("onset_ms");
  Row onset{"Audio: note-on to first sound, synth alone (ms)", onsets, "-", "<= 10 ms",
            std::nullopt, audio.failure};
  // A voice that stayed silent reports -1.
  if (!onsets.empty())
    onset.met = allAtMost(onsets, kLatencyMs) &&
                *std::min_element(onsets.begin(), onsets.end()) >= 0;
  table_.add(onset);

  const std::vector<double> chord = audio.numbers("render_chord_percent");
  const std::vector<double> full = audio.numbers("render_full_percent");
  Row render{"Audio: render per period, 4 notes (% of period)", chord,
             "64 voices " + withUnit(median(full), "%"), "median <= 10 %", std::nullopt,
             audio.failure};
  if (!chord.empty()) render.met = median(chord) <= kRenderShare;
  table_.add(render);
}

void Benchmarks::measureSteps() {
  std::vector<StepFigures> precise;
  std::vector<StepFigures> coarse;
  std::vector<double> underruns;
  size_t serverUnderruns = 0;
  std::string renderer;
  std::string failure;
  const StolenTime stolen;
  for (int run = 1; run <= kStepRuns; ++run) {
    progress("step timing, run " + std::to_string(run) + " of " + std::to_string(kStepRuns) +
             " (2 x 25 s)");
    const size_t serverBefore = countLines(server_.log(), kServerUnderrun);
    const ChildReport own = measure({"steps", drivers_, "precise"}, 90);
    serverUnderruns += countLines(server_.log(), kServerUnderrun) - serverBefore;
    const ChildReport reference = measure({"steps", drivers_, "coarse"}, 90);
    if (own.ok()) {
      precise.push_back(stepFigures(own));
      renderer = own.text("renderer");
      underruns.push_back(own.number("late_periods"));
    } else {
      failure = own.failure;
    }
    if (reference.ok()) coarse.push_back(stepFigures(reference));
  }
  const auto column = [](const std::vector<StepFigures>& runs, double StepFigures::*figure) {
    std::vector<double> values;
    for (const StepFigures& run : runs) values.push_back(run.*figure);
    return values;
  };
  const auto addStepRow = [&](const char* figure, double StepFigures::*field) {
    const std::vector<double> values = column(precise, field);
    Row row{figure, values, "coarse timer " + withUnit(median(column(coarse, field)), "ms"),
            "|x| <= 1 ms", std::nullopt, failure};
    if (!values.empty())
      row.met = std::all_of(values.begin(), values.end(),
                            [](double v) { return std::fabs(v) <= kStepToleranceMs; });
    table_.add(row);
  };
  addStepRow("Steps: worst |deviation| of 100 (ms)", &StepFigures::worstMs);
  addStepRow("Steps: median deviation (ms)", &StepFigures::medianMs);
  addStepRow("Steps: drift, last 10 vs first 10 (ms)", &StepFigures::driftMs);
  const auto addCauseRow = [&](const char* figure, double StepFigures::*field) {
    table_.add({figure, column(precise, field),
                "coarse timer " + withUnit(median(column(coarse, field)), "ms"), "-",
                std::nullopt, failure});
  };
  addCauseRow("Steps: timer event after due, median (ms)", &StepFigures::wakeMs);
  addCauseRow("Steps: step work before note-on, median (ms)", &StepFigures::workMs);
  table_.note("steps: Qt's coarse timer slides each tick by up to 5 % towards a round point of "
              "the clock, so its steps keep a fixed offset from Play (any, up to half a "
              "period); its worst deviation and drift are what compare.");
  if (!precise.empty())
    table_.note("steps: " + std::to_string(precise.front().steps) +
                " of the steps 1-100 carry a note-on (the releasing step of each run of a "
                "15-step scale has none); deviations are taken as the note-on is handed to the "
                "synth, against k x 250 ms from the Loop command.");

  const bool server = drivers_ != "-" && server_.running();
  Row row{"Audio: underruns per 25 s loop, 3 loops (" + soundLabel() + ")", underruns,
          server ? "server log " + std::to_string(serverUnderruns) : "-", "0", std::nullopt,
          failure};
  if (!underruns.empty()) row.met = allAtMost(underruns, 0) && serverUnderruns == 0;
  table_.add(row);
  table_.note(drivers_ == "-"
                  ? "underruns: periods the stand-in (" + renderer +
                        " priority) rendered later than a 3-period buffer allows, over 3 x 25 s "
                        "of looping; none can be heard without a sound card."
                  : "underruns: periods the driver asked for later than its buffer lasts, "
                    "and (reference) the underruns the server's debug log reports, over 3 x 25 s "
                    "of looping.");
  noteStolen("the steps and 25 s loops", stolen);
}

void Benchmarks::addIdleRow(const std::string& figure, const ChildReport& report,
                            const std::string& name) {
  const double program = report.number(name + "_program");
  const double server = report.number(name + "_server");
  Row row{figure, {}, "was 11.5 % + 12 %", "<= 1 % together", std::nullopt, report.failure};
  if (report.ok()) {
    row.values = {program + server};
    row.reference = "program " + withUnit(program, "%") + ", server " + withUnit(server, "%");
    row.met = program + server <= kIdleCpu;
  }
  table_.add(row);
}

void Benchmarks::measureLive() {
  progress("live play, 1000 presses");
  const ChildReport live = measure({"live", drivers_}, 120);
  const std::vector<double> noteOn = live.numbers("live_note_on_ms");
  const std::vector<double> painted = live.numbers("live_painted_ms");
  Row sound{"Live: press to note-on, 1000 presses (ms)", noteOn, "-",
            "median <= 0.5, max <= 2", std::nullopt, live.failure};
  if (!noteOn.empty()) sound.met = median(noteOn) <= 0.5 && allAtMost(noteOn, 2.0);
  table_.add(sound);
  Row picture{"Live: press to lit button painted (ms)", painted, "-", "median <= 16.7 ms",
              std::nullopt, live.failure};
  if (!painted.empty()) picture.met = median(painted) <= 1000.0 / 60;
  table_.add(picture);
  table_.note("live: key and mouse presses alternate, each handed to the window as Qt delivers "
              "it; the note-on is taken as it is handed to the synth, the painting when the "
              "client area has been repainted with the button lit (one frame at 60 Hz).");
}

void Benchmarks::measureBooklet() {
  std::vector<double> seconds;
  std::string failure, pages = "-";
  for (int run = 1; run <= kBookletRuns; ++run) {
    progress("booklet, run " + std::to_string(run) + " of " + std::to_string(kBookletRuns));
    const ChildReport booklet = measure({"booklet"}, 120);
    if (booklet.ok()) {
      seconds.push_back(booklet.number("booklet_s"));
      pages = std::to_string(static_cast<int>(booklet.number("booklet_pages"))) + " pages";
    } else {
      failure = booklet.failure;
    }
  }
  Row row{"Booklet: one tuning to PDF (s)", seconds, pages, "<= 10 s", std::nullopt, failure};
  if (!seconds.empty()) row.met = allAtMost(seconds, kBookletSeconds);
  table_.add(row);
}

void Benchmarks::measureSleep() {
  progress("idle CPU 30 s after start and after a run, then note-on to sound (~2 min)");
  ChildReport report;
  if (!server_.running() || drivers_ == "-") {
    report.failure = "no sound server to play to";
  } else {
    const StolenTime stolen;
    report = measure({"sleep", drivers_}, 240);
    noteStolen("the idle and note-on measures", stolen);
  }
  addIdleRow("Idle: CPU, program + server, 30 s after start (%)", report, "idle_start");
  addIdleRow("Idle: CPU, program + server, 30 s after a run (%)", report, "idle_run");
  const auto onsetRow = [&](const std::string& figure, const char* name) {
    const std::vector<double> values = report.numbers(name);
    Row row{figure, values, "-", "<= 15 ms", std::nullopt, report.failure};
    if (!values.empty())  // a note never heard reports -1
      row.met = allAtMost(values, kOnsetOnSinkMs) &&
                *std::min_element(values.begin(), values.end()) >= 0;
    table_.add(row);
  };
  onsetRow("Audio: note-on to sink, stream running (ms)", "onset_playing_ms");
  onsetRow("Audio: note-on to sink, stream asleep (ms)", "onset_asleep_ms");
  table_.note("idle: the share of one core over 10 s, taken after 30 s of quiet (from the first "
              "paint, and from the end of a 15-step run at 250 ms); the stream sleeps after 3 s "
              "of silence.");
  table_.note("note-on to sink: from the note-on handed to the synth to the first sample above "
              "-80 dB recorded from the sink's monitor (parec, 1 ms fragments; the moments err "
              "late by the recording's own delay). Asleep: the first after 40 s of silence, the "
              "others each after the stream slept again.");
}

namespace {

// A process that keeps one core busy until it is killed.
pid_t startBusyCore() {
  const pid_t busy = fork();
  if (busy == 0) {
    for (;;) asm volatile("" ::: "memory");
  }
  return busy;
}

}  // namespace

void Benchmarks::measureUnderruns() {
  progress("underruns in a 60 s loop with one core busy");
  ChildReport report;
  const auto serverUnderruns = [this] { return countLines(server_.log(), kServerUnderrun); };
  const size_t before = serverUnderruns();
  if (!server_.running() || drivers_ == "-") {
    report.failure = "no sound server to play to";
  } else {
    const StolenTime stolen;
    const pid_t busy = startBusyCore();
    report = measure({"underruns", drivers_}, 120);
    if (busy > 0) kill(busy, SIGKILL), waitpid(busy, nullptr, 0);
    noteStolen("the 60 s loop", stolen);
  }
  const std::vector<double> late = report.numbers("late_periods");
  Row row{"Audio: underruns, 60 s loop, one core busy", late,
          "server log " + std::to_string(serverUnderruns() - before), "0", std::nullopt,
          report.failure};
  if (!late.empty()) row.met = allAtMost(late, 0) && serverUnderruns() == before;
  table_.add(row);
  table_.note("underruns: the periods the driver asked for later than its buffer lasts, and (reference) the underruns the server's debug log reports, while "
              "another process spins on one of the cores; load average after the loop: " +
              loadAverage() + " (everything else this machine was running).");
}

}  // namespace brenavo::bench
