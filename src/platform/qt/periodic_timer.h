// A timer that ticks at k x period after it was started, k = 1, 2, ..., read from a
// monotonic clock, so late ticks never push the later ones back.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

#include "playback/tick_schedule.h"

namespace brenavo::qt {

// Nanoseconds on the monotonic clock.
int64_t monotonicNs();

class PeriodicTimer {
 public:
  explicit PeriodicTimer(std::function<void()> tick);
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // Starts a new schedule counted from `anchorNs` on the monotonic clock (when the request
  // that starts it arrived); an earlier one is dropped. Started again from inside its own
  // tick, it counts from that tick's due time.
  void start(int periodMs, int64_t anchorNs);
  void stop();
  bool isActive() const { return active_; }
  int periodMs() const { return periodMs_; }

 private:
  void fire();
  void armForNextTick();
  void waitUntilDue() const;

  std::function<void()> tick_;
  QTimer timer_;
  TickSchedule schedule_;
  int periodMs_ = 0;
  bool active_ = false;
};

}  // namespace brenavo::qt
