#include "private_pulse.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

namespace brenavo::testing {

namespace {

constexpr auto kStartLimit = std::chrono::seconds(15);
constexpr auto kSettling = std::chrono::milliseconds(100);
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Runs program with args and the given environment (the caller's when empty), its output
// and errors sent to output, and returns its pid (or -1).
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& environment,
            int output) {
  std::vector<char*> argv, envp;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (output != STDOUT_FILENO) posix_spawn_file_actions_addclose(&actions, output);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(),
                   environment.empty() ? environ : envp.data()) != 0)
    pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Where the output of the server and of pactl goes: nowhere.
int quiet() {
  static const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
  return nothing;
}

// The environment of the server and of the commands that talk to it: the folder is its
// home, its runtime folder and its configuration folder, so nothing of a user's is read.
std::vector<std::string> privateEnvironment(const std::string& folder) {
  return {"HOME=" + folder, "XDG_RUNTIME_DIR=" + folder, "XDG_CONFIG_HOME=" + folder,
          "PULSE_SERVER=unix:" + folder + "/native"};
}

}  // namespace

PrivatePulse::PrivatePulse(bool verboseLog) : verboseLog_(verboseLog) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "brenavo-pulse-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    failure_ = "no temporary folder for a private PulseAudio server";
    return;
  }
  folder_ = pattern;
  start();
}

PrivatePulse::~PrivatePulse() {
  end(SIGTERM);
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string PrivatePulse::address() const { return "unix:" + folder_ + "/native"; }

std::string PrivatePulse::log() const {
  std::ifstream file(folder_ + "/log");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void PrivatePulse::useForThisProcess() const { setenv("PULSE_SERVER", address().c_str(), 1); }

// -n: no default script, so only the modules named here load (no device detection, no
// D-Bus); --system=no lets it run for root as for anyone. As on a desktop, a sink that no
// stream plays to is suspended (after a second here), and resumes when one comes.
bool PrivatePulse::start() {
  const std::vector<std::string> args = {
      "pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
      "--use-pid-file=no", "--disallow-exit", "--log-target=file:" + folder_ + "/log",
      verboseLog_ ? "--log-level=debug" : "--log-level=warning",
      "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + folder_ + "/native",
      "-L", std::string("module-null-sink sink_name=") + kSinkName,
      "-L", "module-suspend-on-idle timeout=1"};
  pid_ = spawn(args, privateEnvironment(folder_), quiet());
  if (pid_ <= 0) {
    failure_ = "pulseaudio could not be started (is the package pulseaudio installed?)";
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      failure_ = "the private PulseAudio server stopped at once: " + log();
      return false;
    }
    if (answers()) {
      failure_.clear();
      return true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  end(SIGKILL);
  failure_ = "the private PulseAudio server did not answer `pactl info` within 15 s";
  return false;
}

bool PrivatePulse::answers() const {
  const pid_t pactl = spawn({"pactl", "info"}, privateEnvironment(folder_), quiet());
  int status = 0;
  return pactl > 0 && waitpid(pactl, &status, 0) == pactl && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void PrivatePulse::end(int signal) {
  if (pid_ <= 0) return;
  ::kill(pid_, signal);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

bool PrivatePulse::restart() {
  end(SIGKILL);
  return start();
}

}  // namespace brenavo::testing

namespace brenavo::testing {

MonitorRecording::MonitorRecording(const std::string& address, const std::string& monitor) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  parec_ = spawn({"parec", "--server=" + address, "--device=" + monitor,
                  "--raw", "--format=float32le", "--channels=1",
                  "--rate=" + std::to_string(kSampleRate), "--latency-msec=1"},
                 {}, ends[1]);
  close(ends[1]);
  pipe_ = ends[0];
  reader_ = std::thread([this] { read(pipe_); });
  // A sink that nothing played to may send its first samples late, in a block, and their
  // moments could not be told: only what comes once the samples flow is kept.
  if (!waitForSamplesSince(0, 10000)) return;
  std::this_thread::sleep_for(kSettling);
  std::lock_guard lock(mutex_);
  samples_.clear();
  playedNs_.clear();
  flowing_ = true;
}

MonitorRecording::~MonitorRecording() {
  stopping_ = true;
  if (parec_ > 0) {
    ::kill(parec_, SIGTERM);
    int status = 0;
    waitpid(parec_, &status, 0);
  }
  if (reader_.joinable()) reader_.join();
  if (pipe_ >= 0) close(pipe_);
}

int64_t MonitorRecording::nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void MonitorRecording::read(int pipe) {
  std::vector<char> bytes;
  char buffer[8192];
  while (!stopping_) {
    const ssize_t got = ::read(pipe, buffer, sizeof buffer);
    if (got <= 0) return;
    const int64_t arrivedNs = nowNs();
    bytes.insert(bytes.end(), buffer, buffer + got);
    const size_t count = bytes.size() / sizeof(float);
    std::lock_guard lock(mutex_);
    const size_t first = samples_.size();
    samples_.resize(first + count);
    std::memcpy(&samples_[first], bytes.data(), count * sizeof(float));
    for (size_t i = 0; i < count; ++i) {
      const int64_t played = arrivedNs - static_cast<int64_t>(count - 1 - i) * 1'000'000'000 / kSampleRate;
      playedNs_.push_back(playedNs_.empty() ? played : std::max(played, playedNs_.back()));
    }
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count * sizeof(float)));
  }
}

size_t MonitorRecording::indexAt(int64_t atNs) const {
  return std::lower_bound(playedNs_.begin(), playedNs_.end(), atNs) - playedNs_.begin();
}

bool MonitorRecording::waitForSamplesSince(int64_t sinceNs, int limitMs) const {
  const int64_t deadline = nowNs() + int64_t{limitMs} * 1'000'000;
  while (true) {
    {
      std::lock_guard lock(mutex_);
      if (!playedNs_.empty() && playedNs_.back() >= sinceNs) return true;
    }
    if (nowNs() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

int64_t MonitorRecording::firstLoudSince(int64_t sinceNs, float threshold, int limitMs) const {
  const int64_t deadline = nowNs() + int64_t{limitMs} * 1'000'000;
  size_t from = 0;
  while (true) {
    {
      std::lock_guard lock(mutex_);
      for (size_t i = std::max(from, indexAt(sinceNs)); i < samples_.size(); ++i)
        if (std::fabs(samples_[i]) > threshold) return playedNs_[i];
      from = samples_.size();
    }
    if (nowNs() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::vector<float> MonitorRecording::samplesFrom(int64_t fromNs, double seconds) const {
  waitForSamplesSince(fromNs + static_cast<int64_t>(seconds * 1e9), static_cast<int>(seconds * 1000) + 5000);
  std::lock_guard lock(mutex_);
  const size_t first = indexAt(fromNs);
  const size_t last = std::min(samples_.size(), first + static_cast<size_t>(seconds * kSampleRate));
  return {samples_.begin() + static_cast<std::ptrdiff_t>(first),
          samples_.begin() + static_cast<std::ptrdiff_t>(last)};
}

}  // namespace brenavo::testing
