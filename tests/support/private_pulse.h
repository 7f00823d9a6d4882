// A PulseAudio server of one's own for tests and benchmarks: its own runtime folder (made
// with mkdtemp, removed at the end), no system or user configuration, one null sink, and
// it never leaves of its own accord. Clients reach it through PULSE_SERVER.
#pragma once

#include <sys/types.h>

#include <string>

namespace brenavo::testing {

class PrivatePulse {
 public:
  // The null sink every private server has; its monitor is "<sink>.monitor".
  static constexpr const char* kSinkName = "brenavo_sink";

  // Starts the server and waits (up to 15 s) until `pactl info` answers. verboseLog: the
  // server logs at debug level into log(), where it reports every underrun of a stream.
  explicit PrivatePulse(bool verboseLog = false);
  // Stops the server (SIGTERM, then SIGKILL after 5 s) and removes its folder.
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
  void kill();
  // Starts it again at the same address; true once it answers.
  bool restart();

 private:
  bool start();
  void stop();
  bool answers() const;

  std::string folder_;
  std::string failure_;
  bool verboseLog_;
  pid_t pid_ = -1;
};

}  // namespace brenavo::testing
