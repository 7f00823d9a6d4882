#include "platform/fluidsynth/sleeping_output.h"

#include <fluidsynth.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <future>
#include <cmath>
#include <utility>

namespace brenavo::fluid {

namespace {

// How often the watcher looks at an open stream.
constexpr std::chrono::milliseconds kCheckEvery{250};
// -80 dB: quieter than this, a tail is no longer heard.
constexpr float kInaudible = 1e-4f;

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t nanoseconds(std::chrono::milliseconds span) {
  return std::chrono::nanoseconds(span).count();
}

// The watcher, and the threads of the server connections it opens (which start at its
// priority), run at the audio driver's real-time priority where the system allows it, as
// the driver's own thread does: a busy machine then delays neither a note waking the
// stream nor the periods on their way to the server. Refused, they run as they are.
void raiseToRealtime(fluid_settings_t* settings) {
  int priority = 0;
  if (fluid_settings_getint(settings, "audio.realtime-prio", &priority) != FLUID_OK ||
      priority <= 0)
    return;
  sched_param parameter{};
  parameter.sched_priority = priority;
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameter);
}

float peak(int frames, const float* samples) {
  float loudest = 0.0f;
  for (int i = 0; i < frames; ++i) loudest = std::max(loudest, std::fabs(samples[i]));
  return loudest;
}

// Room for many more messages than a period ever brings, so that neither thread allocates.
constexpr size_t kPostedRoom = 256;

}  // namespace

SleepingOutput::SleepingOutput(fluid_settings_t* settings, fluid_synth_t* synth,
                               std::vector<std::string> drivers,
                               PlayMessage play)
    : settings_(settings), synth_(synth), drivers_(std::move(drivers)), play_(play) {
  posted_.reserve(kPostedRoom);
  playing_.reserve(kPostedRoom);
}

SleepingOutput::~SleepingOutput() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_one();
  if (watcher_.joinable()) watcher_.join();
  closeStream();
}

bool SleepingOutput::start() {
  if (watcher_.joinable()) return true;
  int periods = 0;
  double rate = 0;
  fluid_settings_getint(settings_, "audio.period-size", &periodSize_);
  fluid_settings_getint(settings_, "audio.periods", &periods);
  fluid_settings_getnum(settings_, "synth.sample-rate", &rate);
  bufferFrames_ = periodSize_ * periods;
  bufferNs_ = rate > 0 ? static_cast<int64_t>(1e9 * bufferFrames_ / rate) : 0;
  // Every stream is opened on the watcher, so the server connection's threads share its
  // priority; the first one's outcome is the answer.
  std::promise<bool> first;
  std::future<bool> opened = first.get_future();
  watcher_ = std::thread([this, first = std::move(first)]() mutable {
    raiseToRealtime(settings_);
    const bool started = openStream();
    first.set_value(started);
    if (started) watch();
  });
  if (opened.get()) return true;
  watcher_.join();
  return false;
}

void SleepingOutput::wake() {
  {
    std::lock_guard lock(mutex_);
    wanted_ = true;
  }
  changed_.notify_one();
}

bool SleepingOutput::post(uint32_t message) {
  std::lock_guard lock(postMutex_);
  if (!taking_) return false;
  posted_.push_back(message);
  return true;
}

// On the driver's thread: the lock is held only to take the messages, not to play them.
void SleepingOutput::playPosted() {
  {
    std::lock_guard lock(postMutex_);
    posted_.swap(playing_);
  }
  for (uint32_t message : playing_) play_(synth_, message);
  playing_.clear();
}

bool SleepingOutput::awake() const {
  std::lock_guard lock(mutex_);
  return driver_ != nullptr;
}

std::string SleepingOutput::driverName() const {
  std::lock_guard lock(mutex_);
  return driverName_;
}

// The synth's reverb goes into the same two channels as its dry sound.
int SleepingOutput::render(void* output, int frames, int effectCount, float* effects[],
                           int outputCount, float* outputs[]) {
  auto* self = static_cast<SleepingOutput*>(output);
  const int64_t now = nowNs();
  const int64_t sinceLast = now - self->lastRenderNs_.exchange(now);
  if (++self->periodsRendered_ > kPlayingAfterPeriods && sinceLast > self->lateAfterNs_)
    ++self->latePeriods_;
  self->playPosted();
  float* mixedEffects[] = {outputs[0], outputs[outputCount - 1], outputs[0],
                           outputs[outputCount - 1]};
  const int result =
      effectCount > 0
          ? fluid_synth_process(self->synth_, frames, effectCount, effects, outputCount, outputs)
          : fluid_synth_process(self->synth_, frames, 4, mixedEffects, outputCount, outputs);
  self->noteSound(frames, outputs[0], outputs[outputCount - 1]);
  return result;
}

void SleepingOutput::noteSound(int frames, const float* left, const float* right) {
  if (fluid_synth_get_active_voice_count(synth_) > 0 ||
      std::max(peak(frames, left), peak(frames, right)) >= kInaudible)
    lastSoundNs_ = lastRenderNs_.load();
}

bool SleepingOutput::openStream() {
  lastRenderNs_ = nowNs();
  lastSoundNs_ = lastRenderNs_.load();
  periodsRendered_ = 0;
  for (const std::string& name : drivers_) {
    if (fluid_settings_setstr(settings_, "audio.driver", name.c_str()) != FLUID_OK) continue;
    // The PulseAudio driver asks the server to hold one period only, and the server then
    // runs the sink at a quarter of it: a 2.9 ms queue, emptied every 0.7 ms, runs dry
    // whenever the machine is busy. Writing the whole buffer at once gives the server the
    // queue the other drivers keep in their periods. The server then takes the sound in
    // quarters of that queue, and its log shows no underrun while requests come up to a
    // third late: only a request half a queue late counts as late.
    const bool wholeBuffer = name == "pulseaudio";
    fluid_settings_setint(settings_, "audio.period-size", wholeBuffer ? bufferFrames_ : periodSize_);
    lateAfterNs_ = wholeBuffer ? bufferNs_ + bufferNs_ / 2 : bufferNs_;
    if (fluid_audio_driver_t* driver = new_fluid_audio_driver2(settings_, render, this)) {
      {
        std::lock_guard lock(postMutex_);
        taking_ = true;
      }
      std::lock_guard lock(mutex_);
      driver_ = driver;
      driverName_ = name;
      ++opened_;
      return true;
    }
  }
  return false;
}

void SleepingOutput::closeStream() {
  fluid_audio_driver_t* driver = nullptr;
  {
    std::lock_guard lock(mutex_);
    std::swap(driver, driver_);
  }
  if (driver == nullptr) return;
  delete_fluid_audio_driver(driver);
  // What the stream did not take is played now, in order, before any message that
  // follows is played directly.
  std::lock_guard lock(postMutex_);
  for (uint32_t message : posted_) play_(synth_, message);
  posted_.clear();
  taking_ = false;
}

// The output's own thread: sleeps without a timeout while the stream is closed.
void SleepingOutput::watch() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (driver_ != nullptr) {
      watchOpenStream(lock);
      continue;
    }
    changed_.wait(lock, [this] { return stopping_ || wanted_; });
    if (stopping_) break;
    wanted_ = false;
    lock.unlock();
    // With no server to play to, nothing is heard: no voice may wait to sound later.
    if (!openStream()) fluid_synth_all_sounds_off(synth_, -1);
    lock.lock();
  }
}

// Looks again at every note handed over, and every quarter second.
void SleepingOutput::watchOpenStream(std::unique_lock<std::mutex>& lock) {
  changed_.wait_for(lock, kCheckEvery, [this] { return stopping_ || wanted_; });
  if (stopping_) return;
  const int64_t now = nowNs();
  // A note handed over since the last look may not have been rendered yet.
  const bool longSilent = now - lastSoundNs_ > nanoseconds(kSilenceBeforeSleep) && !wanted_;
  const bool gone = lost(now);
  // A note that finds the server gone stays wanted, and opens a new stream for itself;
  // without one, what the lost stream left sounding would sound again later.
  const bool silenceLeftovers = gone && !wanted_;
  if (!gone) wanted_ = false;
  if (!longSilent && !gone) return;
  lock.unlock();
  closeStream();
  if (silenceLeftovers) fluid_synth_all_sounds_off(synth_, -1);
  lock.lock();
}

bool SleepingOutput::lost(int64_t now) const {
  const bool playing = periodsRendered_ >= kPlayingAfterPeriods;
  return now - lastRenderNs_ > nanoseconds(playing ? kLostAfter : kLostWhileStarting);
}

}  // namespace brenavo::fluid
