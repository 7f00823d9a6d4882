// A timer that ticks at k x period after it was started, k = 1, 2, ..., read from a
// monotonic clock, so late ticks never push the later ones back.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "playback/tick_schedule.h"

namespace brenavo::qt {

class PeriodicTimer {
 public:
  explicit PeriodicTimer(std::function<void()> tick);
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // Starts a new schedule counted from now; an earlier one is dropped. Started again
  // from inside its own tick, it counts from that tick's due time.
  void start(int periodMs);
  void stop();
  bool isActive() const { return active_; }
  int periodMs() const { return periodMs_; }

 private:
  void fire();
  void armForNextTick();

  std::function<void()> tick_;
  QTimer timer_;
  QElapsedTimer clock_;
  TickSchedule schedule_;
  int periodMs_ = 0;
  bool active_ = false;
};

}  // namespace brenavo::qt
