// The default MIDI output: an embedded FluidSynth General MIDI synthesizer that plays
// through the machine's audio system, or renders into a caller's buffer.
#pragma once

#include <fluidsynth/types.h>

#include <bitset>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/fluidsynth/sleeping_output.h"
#include "platform/platform.h"

namespace brenavo::fluid {

enum class Output {
  AudioDriver,  // the synth plays through the first audio driver that starts, while it sounds
  Buffer,       // no driver; the caller pulls samples with render()
};

// The SoundFont files tried first, in order: the Debian GM SoundFont, then the
// system-wide default GM links.
std::vector<std::string> defaultSoundFontFiles();
// Folders searched afterwards for any other *.sf2 or *.sf3, in name order.
std::vector<std::string> defaultSoundFontFolders();

struct FluidOptions {
  Output output = Output::AudioDriver;
  int sampleRate = 44100;  // 44100 or 48000
  std::vector<std::string> soundFontFiles = defaultSoundFontFiles();
  std::vector<std::string> soundFontFolders = defaultSoundFontFolders();
  // FluidSynth driver names, tried in turn until one starts.
  std::vector<std::string> audioDrivers = {"pipewire", "pulseaudio", "alsa"};
  // 128 frames x 3 periods: 8.7 ms at 44100 Hz, 8 ms at 48000 Hz. Small enough that a
  // note starts with its highlight, with one spare period against crackle; a period of
  // four notes with reverb takes the synth a small fraction of its length to render.
  int periodSize = 128;
  int periods = 3;
  // Only the samples of the selected voices are read into memory; off, the whole
  // SoundFont is.
  bool dynamicSampleLoading = true;
};

// Every SoundFont the options name, in the order open() tries them.
std::vector<std::string> soundFontCandidates(const FluidOptions& options);

class FluidMidiDevice : public platform::MidiDevice {
 public:
  // Results of shortMessage().
  static constexpr uint32_t kSent = 0;
  static constexpr uint32_t kNotOpen = 1;
  static constexpr uint32_t kBadMessage = 2;  // a status byte below 0x80 or a data byte above 0x7F

  explicit FluidMidiDevice(FluidOptions options = {});
  ~FluidMidiDevice() override;
  FluidMidiDevice(const FluidMidiDevice&) = delete;
  FluidMidiDevice& operator=(const FluidMidiDevice&) = delete;

  // Creates the synth, loads the first SoundFont that loads and, for AudioDriver output,
  // starts a driver. When no SoundFont loads everything is freed; when only the driver
  // fails the synth is kept, and the next open() seeks a driver again. False on failure.
  bool open() override;
  // Starts the work of open() on a worker thread and returns at once, so the SoundFont
  // loads while the caller builds its window; the next open() waits for it and gives its
  // result. Until then only open(), close() and the destructor may be called.
  void openInBackground();
  // Note-on (0x9n; velocity 0 is a note-off), note-off (0x8n) and program change (0xCn)
  // reach the synth; any other message is accepted and ignored. A channel plays the
  // General MIDI default (program 0, drums on channel 10) until its first program change.
  // A note-on wakes a sleeping output.
  uint32_t shortMessage(uint32_t packed) override;
  // Silences every voice on every channel at once. The programs stay selected.
  void reset() override;
  // Stops the driver and frees the synth. Safe when closed.
  void close() override;

  bool isOpen() const;
  // Buffer output only: synthesizes the next frames into two channel buffers and
  // returns how many were written (0 when closed or playing through a driver).
  int render(float* left, float* right, int frames);

  const FluidOptions& options() const { return options_; }
  // The SoundFont that was loaded; empty when closed.
  const std::string& soundFontPath() const { return soundFontPath_; }
  // Whether the synth plays through a driver (which sleeps while all is silent).
  bool audioDriverStarted() const { return output_ != nullptr && output_->opened() > 0; }
  // The driver that started last; empty when none did.
  std::string audioDriverName() const { return output_ ? output_->driverName() : ""; }
  // Whether the driver's stream is open now, and how often it has opened.
  bool outputAwake() const { return output_ != nullptr && output_->awake(); }
  int outputOpenings() const { return output_ ? output_->opened() : 0; }
  // The periods the driver asked for too late to keep the server fed.
  int outputLatePeriods() const { return output_ ? output_->latePeriods() : 0; }
  // The driver's buffering: period size x periods / sample rate, in milliseconds.
  double latencyMs() const;

 private:
  bool openNow();
  // Stops the driver and frees the synth and its settings.
  void release();
  bool configure();
  bool loadSoundFont();
  void sendToReverb();
  void chooseDefaultProgram(int channel);
  void deliver(uint32_t message);
  // A checked short message, or the system reset, played on the synth.
  static void playMessage(fluid_synth_t* synth, uint32_t message);
  bool startOutput();

  FluidOptions options_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  std::unique_ptr<SleepingOutput> output_;
  std::string soundFontPath_;
  // The channels whose instrument has been chosen, by a program change or by default.
  std::bitset<16> programChosen_;
  // The open running on the worker thread; it alone touches the members until it ends.
  std::future<bool> opening_;
};

}  // namespace brenavo::fluid
