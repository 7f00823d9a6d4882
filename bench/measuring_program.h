// Pieces the measuring processes share: the real program built as main() builds it,
// a MIDI output that notes when things happen, and a thread that pulls sound from the
// synth at an audio driver's pace where no driver plays.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "stamping_application.h"
#include "platform/fluidsynth/fluid_midi_device.h"
#include "platform/platform.h"
#include "platform/qt/desktop_program.h"

namespace brenavo::bench {

// One figure on its own line of standard output: its name, then its values.
void report(const std::string& name, const std::vector<double>& values);
void report(const std::string& name, double value);
void reportText(const std::string& name, const std::string& text);
// Reports why nothing could be measured and ends the process at once.
[[noreturn]] void fail(const std::string& reason);
// Ends the process at once, without the window's shutdown (which would save settings).
[[noreturn]] void finish();

// "-" for Buffer output, else the FluidSynth driver names to try, separated by commas.
fluid::FluidOptions deviceOptions(const std::string& drivers);

// Lets the event loop run for a while.
void waitMs(int milliseconds);

// Passes everything to the synth, noting when it opened and when each note-on was handed
// over. A failed open ends the process, before the program would show its warning.
class StampedMidi : public platform::MidiDevice {
 public:
  explicit StampedMidi(platform::MidiDevice& synth);
  bool open() override;
  uint32_t shortMessage(uint32_t packed) override;
  void reset() override { synth_.reset(); }
  void close() override { synth_.close(); }

  int64_t openCalledNs() const { return openCalledNs_; }
  int64_t openedNs() const { return openedNs_; }
  const std::vector<int64_t>& noteOnNs() const { return noteOnNs_; }

 private:
  platform::MidiDevice& synth_;
  int64_t openCalledNs_ = 0;
  int64_t openedNs_ = 0;
  std::vector<int64_t> noteOnNs_;
};

// The synth, already loading on a worker thread when the QApplication is made.
struct SynthLoadingEarly {
  explicit SynthLoadingEarly(const fluid::FluidOptions& options) : device(options) {
    device.openInBackground();
  }
  fluid::FluidMidiDevice device;
};

// The desktop program as main() starts it, with the MIDI output stamped.
class MeasuredProgram {
 public:
  MeasuredProgram(int& argc, char** argv, const fluid::FluidOptions& options);
  // Shows the window and returns after the first paint of its client area.
  void showAndWaitForFirstPaint();

  fluid::FluidMidiDevice& synth() { return synth_.device; }
  StampedMidi& midi() { return midi_; }
  qt::MainWindow& window() { return desktop_.window(); }
  int64_t firstPaintNs() const { return application_.firstPaintNs(); }
  const StampingApplication& application() const { return application_; }

 private:
  SynthLoadingEarly synth_;
  StampingApplication application_;
  StampedMidi midi_;
  qt::DesktopProgram desktop_;
};

// Stands in for an audio driver on a machine without one: renders one period every
// period length, at real-time priority where the system allows it as FluidSynth's
// drivers ask for, and counts the periods that came later than a driver's buffer of
// `periods` periods would have waited. Does nothing while a real driver plays.
class PacedRenderer {
 public:
  explicit PacedRenderer(fluid::FluidMidiDevice& synth);
  ~PacedRenderer();
  PacedRenderer(const PacedRenderer&) = delete;
  PacedRenderer& operator=(const PacedRenderer&) = delete;

  bool running() const { return thread_.joinable(); }
  bool realtime() const { return realtime_; }
  int latePeriods() const { return late_; }

 private:
  void run();

  fluid::FluidMidiDevice& synth_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> late_{0};
  bool realtime_ = false;
  std::thread thread_;
};

}  // namespace brenavo::bench
