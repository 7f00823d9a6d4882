// The one clock every benchmark process reads: CLOCK_MONOTONIC, the same in a parent and
// the children it starts, so a child's moments can be set against its parent's fork.
#pragma once

#include <time.h>

#include <cstdint>

namespace brenavo::bench {

inline int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

inline double nsToMs(int64_t ns) { return static_cast<double>(ns) / 1e6; }

// When main() began; each benchmark program sets it first thing.
inline int64_t& mainReachedNs() {
  static int64_t reached = 0;
  return reached;
}

}  // namespace brenavo::bench
