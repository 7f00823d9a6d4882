#include "stolen_time.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>

namespace brenavo::bench {

namespace {

constexpr std::chrono::milliseconds kSampleEvery{250};

struct CpuTicks {
  long long total = 0;
  long long stolen = 0;
};

// All CPUs together, from the first line of /proc/stat: user nice system idle iowait irq
// softirq steal (guest time is already counted in user).
CpuTicks readTicks() {
  std::ifstream stat("/proc/stat");
  std::string cpu;
  stat >> cpu;
  CpuTicks ticks;
  for (int field = 0; field < 8; ++field) {
    long long value = 0;
    if (!(stat >> value)) return {};
    ticks.total += value;
    if (field == 7) ticks.stolen = value;
  }
  return ticks;
}

double percent(long long part, long long whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

}  // namespace

StolenTime::StolenTime() {
  const CpuTicks first = readTicks();
  firstTotal_ = lastTotal_ = first.total;
  firstStolen_ = lastStolen_ = first.stolen;
  watcher_ = std::thread([this] { watch(); });
}

StolenTime::~StolenTime() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_one();
  watcher_.join();
}

void StolenTime::watch() {
  std::unique_lock lock(mutex_);
  while (!stop_.wait_for(lock, kSampleEvery, [this] { return stopping_; })) {
    const CpuTicks now = readTicks();
    worstPercent_ = std::max(worstPercent_, percent(now.stolen - lastStolen_, now.total - lastTotal_));
    lastTotal_ = now.total;
    lastStolen_ = now.stolen;
  }
}

std::string StolenTime::describe() const {
  std::lock_guard lock(mutex_);
  char text[96];
  std::snprintf(text, sizeof text, "%.1f %% of the CPU time (worst quarter second %.0f %%)",
                percent(lastStolen_ - firstStolen_, lastTotal_ - firstTotal_), worstPercent_);
  return text;
}

}  // namespace brenavo::bench
