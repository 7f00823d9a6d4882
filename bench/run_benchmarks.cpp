// `make bench`: with no arguments, runs every benchmark and prints the table; with
// --measure MODE ..., is one of the measuring processes the benchmarks start.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "benchmarks.h"
#include "clock.h"
#include "measurements.h"
#include "private_pulse.h"

namespace {

namespace fs = std::filesystem;
using namespace brenavo::bench;

int measure(int& argc, char** argv) {
  const std::string mode = argv[2];
  const std::string drivers = argc > 3 ? argv[3] : "-";
  const std::string variant = argc > 4 ? argv[4] : "";
  if (mode == "probe") probeAudio(drivers);
  if (mode == "start") measureStart(argc, argv, drivers);
  if (mode == "memory") measureMemory(argc, argv, drivers, variant == "dynamic");
  if (mode == "steps") measureSteps(argc, argv, drivers, variant == "coarse");
  if (mode == "sleep") measureSleep(argc, argv, drivers);
  if (mode == "underruns") measureUnderruns(argc, argv, drivers);
  if (mode == "audio") measureAudio();
  if (mode == "live") measureLive(argc, argv, drivers);
  if (mode == "booklet") measureBooklet(argc, argv);
  std::fprintf(stderr, "unknown measurement: %s\n", mode.c_str());
  return 2;
}

// Every measuring process runs offscreen, from a fresh settings folder (the program's
// defaults: a 15-step diatonic scale at 250 ms per step) that is also its working folder.
fs::path prepareScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "brenavo-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
  std::error_code error;
  fs::current_path(pattern, error);
  return pattern;
}

}  // namespace

int main(int argc, char* argv[]) {
  mainReachedNs() = monotonicNs();
  if (argc > 2 && std::string(argv[1]) == "--measure") return measure(argc, argv);
  const fs::path self = fs::read_symlink("/proc/self/exe");
  const fs::path scratch = prepareScratchFolder();
  // Every measuring process plays to a private sound server; its debug log tells underruns.
  brenavo::testing::PrivatePulse server(true);
  if (server.running()) {
    server.useForThisProcess();
    setenv("BENCH_SERVER_PID", std::to_string(server.pid()).c_str(), 1);
  }
  Benchmarks(self.string(), (self.parent_path() / "bench-bare-window").string(), server).run();
  std::error_code error;
  if (!scratch.empty()) fs::remove_all(scratch, error);
  return 0;
}
