// The synth's way to the sound server, open only while there is something to hear. A
// note wakes it; once every voice has ended and the sound has stayed below hearing for a
// while, it closes its stream, so that neither this program nor the server wakes for it.
// When the server goes away mid-stream the output notices that the synth is no longer
// asked for sound, closes, and opens again with the next note.
#pragma once

#include <fluidsynth/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace brenavo::fluid {

class SleepingOutput {
 public:
  // The silence after which the stream closes: well past the reverb's tail and past a
  // learner's short pause between two notes.
  static constexpr std::chrono::milliseconds kSilenceBeforeSleep{3000};
  // No request for sound for this long while the stream plays: the server is gone. A
  // sink may take its time to start a new stream (PulseAudio's null sink up to 2 s), so
  // until the stream has played a while, only a longer wait counts.
  static constexpr std::chrono::milliseconds kLostAfter{500};
  static constexpr std::chrono::milliseconds kLostWhileStarting{3000};
  static constexpr int kPlayingAfterPeriods = 50;

  // How a message handed over is played on the synth.
  using PlayMessage = void (*)(fluid_synth_t* synth, uint32_t message);

  // drivers: FluidSynth driver names, tried in turn whenever the stream opens.
  SleepingOutput(fluid_settings_t* settings, fluid_synth_t* synth,
                 std::vector<std::string> drivers, PlayMessage play);
  ~SleepingOutput();
  SleepingOutput(const SleepingOutput&) = delete;
  SleepingOutput& operator=(const SleepingOutput&) = delete;

  // Opens the stream and returns when it is open: false when no driver starts. Once it
  // has started, the output keeps itself open or asleep until it is destroyed.
  bool start();
  // Asks for sound: a sleeping or lost stream opens again, on the output's own thread,
  // and the synth's pending events are the first it plays. Returns at once.
  void wake();

  // While a stream is open, keeps the message for the driver's thread, which plays the
  // messages in the order handed over before it renders; false when no stream is open
  // (the caller plays it). Never waits for the synth.
  bool post(uint32_t message);

  // Whether a stream is open now.
  bool awake() const;
  // How often a stream has been opened, the first start included.
  int opened() const { return opened_; }
  // The driver that opened the stream last; empty before the first.
  std::string driverName() const;
  // How often, once a stream played, the driver asked for a period later than its whole
  // buffer lasts: each time the server ran dry.
  int latePeriods() const { return latePeriods_; }

 private:
  static int render(void* output, int frames, int effectCount, float* effects[],
                    int outputCount, float* outputs[]);
  void noteSound(int frames, const float* left, const float* right);
  bool openStream();
  void closeStream();
  void watch();
  // The stream is open: sleep when long silent, close when the driver stopped asking.
  void watchOpenStream(std::unique_lock<std::mutex>& lock);
  bool lost(int64_t now) const;
  void playPosted();

  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
  const std::vector<std::string> drivers_;
  const PlayMessage play_;

  // Messages handed over for the stream's next period, and those being played.
  std::mutex postMutex_;
  std::vector<uint32_t> posted_;  // guarded by postMutex_
  std::vector<uint32_t> playing_;
  bool taking_ = false;           // a stream takes messages; guarded by postMutex_

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  fluid_audio_driver_t* driver_ = nullptr;  // guarded by mutex_ for reading; one writer
  std::string driverName_;
  bool wanted_ = false;
  bool stopping_ = false;
  std::atomic<int> opened_{0};

  // Written by the driver's thread on every period: when it last rendered, and when what
  // it rendered was last heard (a voice playing, or a tail above hearing).
  std::atomic<int64_t> lastRenderNs_{0};
  std::atomic<int64_t> lastSoundNs_{0};
  std::atomic<int> periodsRendered_{0};
  std::atomic<int> latePeriods_{0};
  int periodSize_ = 0;    // frames the synth renders at a time
  int bufferFrames_ = 0;  // what the driver's periods hold, together
  int64_t bufferNs_ = 0;
  int64_t lateAfterNs_ = 0;  // a request later than this after the last: the queue ran dry

  std::thread watcher_;
};

}  // namespace brenavo::fluid
