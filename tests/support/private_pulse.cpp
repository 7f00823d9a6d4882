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
#include <iterator>

namespace brenavo::testing {

namespace {

// Starts args[0] with its output into `output` (nowhere when -1); its pid, or -1.
pid_t spawn(std::vector<std::string> args, int output = -1) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (output < 0) posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  else posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ)) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Asks done() every pauseMs until it is true (true) or limitMs have passed (false).
template <typename Done>
bool within(int limitMs, int pauseMs, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!done())
    if (std::chrono::steady_clock::now() > deadline) return false;
    else std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  return true;
}

}  // namespace

PrivatePulse::PrivatePulse(bool verboseLog) : verboseLog_(verboseLog) {
  std::string pattern = (std::filesystem::temp_directory_path() / "brenavo-pulse-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) failure_ = "no temporary folder for a PulseAudio server";
  else folder_ = pattern, start();
}

PrivatePulse::~PrivatePulse() {
  end(SIGTERM);
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string PrivatePulse::log() const {
  std::ifstream file(folder_ + "/log");
  return {std::istreambuf_iterator<char>(file), {}};
}

// -n: no default script, so only the modules named here load (no device detection, no
// D-Bus); the folder is its home, runtime and configuration folder, and nothing else of the
// environment is passed, so nothing of a user's is read. As on a desktop, a sink that no
// stream plays to is suspended (after a second here), and resumes when one comes.
bool PrivatePulse::start() {
  pid_ = spawn({"env", "-i", "HOME=" + folder_, "XDG_RUNTIME_DIR=" + folder_, "XDG_CONFIG_HOME=" + folder_,
                "pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1", "--use-pid-file=no",
                "--disallow-exit", "--log-target=file:" + folder_ + "/log",
                verboseLog_ ? "--log-level=debug" : "--log-level=warning",
                "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + folder_ + "/native",
                "-L", std::string("module-null-sink sink_name=") + kSinkName,
                "-L", "module-suspend-on-idle timeout=1"});
  const std::string ask = "pactl --server=" + address() + " info >/dev/null 2>&1";
  bool stopped = false;  // and reaped: its pid may be another process's by now
  const bool answers = pid_ > 0 && within(15000, 50, [&] {
    stopped = waitpid(pid_, nullptr, WNOHANG) == pid_;
    return stopped || std::system(ask.c_str()) == 0;
  });
  if (answers && !stopped) return failure_.clear(), true;
  if (stopped) pid_ = -1;
  end(SIGKILL), failure_ = "no private PulseAudio server answered (is pulseaudio installed?) " + log();
  return false;
}

void PrivatePulse::end(int signal) {
  if (pid_ > 0) ::kill(pid_, signal), waitpid(pid_, nullptr, 0), pid_ = -1;
}

MonitorRecording::MonitorRecording(const std::string& address, const std::string& monitor) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  parec_ = spawn({"parec", "--server=" + address, "--device=" + monitor, "--raw", "--format=float32le",
                  "--channels=1", "--rate=" + std::to_string(kSampleRate), "--latency-msec=1"}, ends[1]);
  close(ends[1]), pipe_ = ends[0];
  reader_ = std::thread([this] { read(); });
  // A sink that nothing played to may send its first samples late, in a block, and their
  // moments could not be told: only what comes once the samples flow is kept.
  if (!waitForSamplesSince(0, 10000)) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::lock_guard lock(mutex_);
  samples_.clear(), playedNs_.clear(), flowing_ = true;
}

MonitorRecording::~MonitorRecording() {
  stopping_ = true;
  if (parec_ > 0) ::kill(parec_, SIGTERM), waitpid(parec_, nullptr, 0);
  if (reader_.joinable()) reader_.join();
  if (pipe_ >= 0) close(pipe_);
}

void MonitorRecording::read() {
  std::vector<char> bytes;
  char buffer[8192];
  for (ssize_t got; !stopping_ && (got = ::read(pipe_, buffer, sizeof buffer)) > 0;) {
    const int64_t arrivedNs = nowNs();
    bytes.insert(bytes.end(), buffer, buffer + got);
    const size_t count = bytes.size() / sizeof(float);
    std::lock_guard lock(mutex_);
    const size_t first = samples_.size();
    samples_.resize(first + count);
    std::memcpy(&samples_[first], bytes.data(), count * sizeof(float));
    for (size_t i = 0; i < count; ++i)  // never before the sample ahead of it
      playedNs_.push_back(std::max(arrivedNs - static_cast<int64_t>(count - 1 - i) * 1'000'000'000 / kSampleRate,
                                   playedNs_.empty() ? INT64_MIN : playedNs_.back()));
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count * sizeof(float)));
  }
}

size_t MonitorRecording::indexAt(int64_t atNs) const {
  return std::lower_bound(playedNs_.begin(), playedNs_.end(), atNs) - playedNs_.begin();
}

bool MonitorRecording::waitForSamplesSince(int64_t sinceNs, int limitMs) const {
  return within(limitMs, 1, [&] {
    std::lock_guard lock(mutex_);
    return !playedNs_.empty() && playedNs_.back() >= sinceNs;
  });
}

int64_t MonitorRecording::firstLoudSince(int64_t sinceNs, float threshold, int limitMs) const {
  int64_t loud = -1;
  size_t from = 0;
  within(limitMs, 1, [&] {
    std::lock_guard lock(mutex_);
    for (size_t i = std::max(from, indexAt(sinceNs)); i < samples_.size() && loud < 0; ++i)
      if (std::fabs(samples_[i]) > threshold) loud = playedNs_[i];
    from = samples_.size();
    return loud >= 0;
  });
  return loud;
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
