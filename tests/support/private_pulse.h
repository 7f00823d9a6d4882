// A PulseAudio server of one's own for tests and benchmarks: its own runtime folder (made
// with mkdtemp, removed at the end), no system or user configuration, one null sink, and
// it never leaves of its own accord. Clients reach it through PULSE_SERVER.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace brenavo::testing {

class PrivatePulse {
 public:
  static constexpr const char* kSinkName = "brenavo_sink";  // its monitor: "<sink>.monitor"

  // Starts the server and waits (up to 15 s) until it answers. verboseLog: the server logs
  // at debug level into log(), where it reports every underrun of a stream.
  explicit PrivatePulse(bool verboseLog = false);
  ~PrivatePulse();  // stops the server and removes its folder
  PrivatePulse(const PrivatePulse&) = delete;
  PrivatePulse& operator=(const PrivatePulse&) = delete;

  bool running() const { return pid_ > 0; }
  const std::string& failure() const { return failure_; }  // why it is not running
  std::string address() const { return "unix:" + folder_ + "/native"; }  // for PULSE_SERVER
  pid_t pid() const { return pid_; }
  std::string log() const;
  // Sets PULSE_SERVER, so that this process and those it starts play into this server only.
  void useForThisProcess() const { setenv("PULSE_SERVER", address().c_str(), 1); }
  void kill() { end(SIGKILL); }  // at once, as a crash would: its clients lose it mid-stream
  bool restart() { return end(SIGKILL), start(); }  // at the same address; true once it answers

 private:
  bool start();
  void end(int signal);

  std::string folder_, failure_;
  bool verboseLog_;
  pid_t pid_ = -1;
};

// What a sink plays, recorded from its monitor with parec (mono, 32-bit float, 1 ms fragments)
// while the object lives. Each sample gets the moment it was played on the monotonic clock:
// the moment its fragment arrived, less the samples after it in the fragment, so the moments
// err late by the recording's own delay, never early.
class MonitorRecording {
 public:
  static constexpr int kSampleRate = 44100;

  // Returns once the samples flow (or after 10 s when they do not).
  MonitorRecording(const std::string& address, const std::string& monitor);
  explicit MonitorRecording(const PrivatePulse& server)
      : MonitorRecording(server.address(), std::string(PrivatePulse::kSinkName) + ".monitor") {}
  ~MonitorRecording();
  MonitorRecording(const MonitorRecording&) = delete;
  MonitorRecording& operator=(const MonitorRecording&) = delete;

  bool flowing() const { return flowing_; }
  // The moment the first sample at or after sinceNs louder than threshold was played,
  // waiting up to limitMs for it; -1 when none came.
  int64_t firstLoudSince(int64_t sinceNs, float threshold, int limitMs) const;
  // The samples played from fromNs on, for seconds (fewer when not all have arrived).
  std::vector<float> samplesFrom(int64_t fromNs, double seconds) const;

  static int64_t nowNs() {
    return std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
  }

 private:
  void read();
  bool waitForSamplesSince(int64_t sinceNs, int limitMs) const;
  size_t indexAt(int64_t atNs) const;  // of the first sample played at or after atNs

  pid_t parec_ = -1;
  int pipe_ = -1;
  mutable std::mutex mutex_;
  std::vector<float> samples_;
  std::vector<int64_t> playedNs_;  // one per sample
  std::atomic<bool> stopping_{false};
  bool flowing_ = false;
  std::thread reader_;
};

}  // namespace brenavo::testing
