// A PulseAudio server of one's own for tests and benchmarks: its own runtime folder (made
// with mkdtemp, removed at the end), no system or user configuration, one null sink, and
// it never leaves of its own accord. Clients reach it through PULSE_SERVER.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace brenavo::testing {

class PrivatePulse {
 public:
  // The null sink every private server has; its monitor is "<sink>.monitor".
  static constexpr const char* kSinkName = "brenavo_sink";

  // Starts the server and waits (up to 15 s) until `pactl info` answers. verboseLog: the
  // server logs at debug level into log(), where it reports every underrun of a stream.
  explicit PrivatePulse(bool verboseLog = false);
  // Stops the server and removes its folder.
  ~PrivatePulse();
  PrivatePulse(const PrivatePulse&) = delete;
  PrivatePulse& operator=(const PrivatePulse&) = delete;

  bool running() const { return pid_ > 0; }
  // Why the server is not running (empty while it runs), e.g. to pass to GTEST_SKIP.
  const std::string& failure() const { return failure_; }
  // "unix:<folder>/native", the value for PULSE_SERVER.
  std::string address() const;
  std::string monitorName() const { return std::string(kSinkName) + ".monitor"; }
  pid_t pid() const { return pid_; }
  // The server's own messages (empty unless verboseLog, apart from warnings).
  std::string log() const;

  // Sets PULSE_SERVER in this process, so that its clients (and the processes it starts)
  // play into this server and never reach another.
  void useForThisProcess() const;
  // Ends the server at once (SIGKILL), as a crash would; its clients lose it mid-stream.
  void kill() { end(SIGKILL); }
  // Starts it again at the same address; true once it answers.
  bool restart();

 private:
  bool start();
  void end(int signal);
  bool answers() const;

  std::string folder_;
  std::string failure_;
  bool verboseLog_;
  pid_t pid_ = -1;
};

// What the private server's sink plays, recorded from its monitor with parec (mono, 32-bit
// float, 1 ms fragments) while the object lives. Each sample gets the moment it was played
// on the monotonic clock: the moment its fragment arrived, less the samples after it in the
// fragment, so the moments err late by the recording's own delay, never early.
class MonitorRecording {
 public:
  static constexpr int kSampleRate = 44100;

  // Returns once the samples flow (or after 10 s when they do not). address: the server's
  // (PULSE_SERVER's form); monitor: the source to record.
  MonitorRecording(const std::string& address, const std::string& monitor);
  explicit MonitorRecording(const PrivatePulse& server)
      : MonitorRecording(server.address(), server.monitorName()) {}
  ~MonitorRecording();
  MonitorRecording(const MonitorRecording&) = delete;
  MonitorRecording& operator=(const MonitorRecording&) = delete;

  bool flowing() const { return flowing_; }
  // Waits (up to limitMs) until samples played at or after sinceNs have arrived.
  bool waitForSamplesSince(int64_t sinceNs, int limitMs) const;
  // The moment the first sample at or after sinceNs louder than threshold was played,
  // waiting up to limitMs for it; -1 when none came.
  int64_t firstLoudSince(int64_t sinceNs, float threshold, int limitMs) const;
  // The samples played from fromNs on, for seconds (fewer when not all have arrived).
  std::vector<float> samplesFrom(int64_t fromNs, double seconds) const;

  static int64_t nowNs();

 private:
  void read(int pipe);
  // The index of the first sample played at or after atNs; samples_.size() when none.
  size_t indexAt(int64_t atNs) const;

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
