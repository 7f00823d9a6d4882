#include "private_pulse.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

namespace brenavo::testing {

namespace {

constexpr auto kStartLimit = std::chrono::seconds(15);
constexpr auto kStopLimit = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(50);

// Runs program with args and the given environment, its output sent to outputPath, and
// returns its pid (or -1).
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& environment,
            const std::string& outputPath) {
  std::vector<char*> argv, envp;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The environment of the server and of the commands that talk to it: the folder is its
// home, its runtime folder and its configuration folder, so nothing of a user's is read.
std::vector<std::string> privateEnvironment(const std::string& folder) {
  std::vector<std::string> environment = {"HOME=" + folder, "XDG_RUNTIME_DIR=" + folder,
                                          "XDG_CONFIG_HOME=" + folder,
                                          "PULSE_SERVER=unix:" + folder + "/native"};
  if (const char* path = std::getenv("PATH")) environment.push_back(std::string("PATH=") + path);
  return environment;
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
  stop();
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

// -n: no default script, so only the two modules named here load (no device detection,
// no suspend-on-idle, no D-Bus); --system=no lets it run for root as for anyone.
bool PrivatePulse::start() {
  const std::vector<std::string> args = {
      "pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
      "--use-pid-file=no", "--disallow-exit", "--log-target=stderr",
      verboseLog_ ? "--log-level=debug" : "--log-level=warning",
      "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + folder_ + "/native",
      "-L", std::string("module-null-sink sink_name=") + kSinkName};
  pid_ = spawn(args, privateEnvironment(folder_), folder_ + "/log");
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
  kill();
  failure_ = "the private PulseAudio server did not answer `pactl info` within 15 s";
  return false;
}

bool PrivatePulse::answers() const {
  const pid_t pactl = spawn({"pactl", "info"}, privateEnvironment(folder_), "/dev/null");
  int status = 0;
  return pactl > 0 && waitpid(pactl, &status, 0) == pactl && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void PrivatePulse::kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

void PrivatePulse::stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + kStopLimit;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) return kill();
    std::this_thread::sleep_for(kPollInterval);
  }
  pid_ = -1;
}

bool PrivatePulse::restart() {
  kill();
  return start();
}

}  // namespace brenavo::testing
