#include "platform/qt/periodic_timer.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace brenavo::qt {

namespace {
constexpr qint64 NS_PER_MS = 1'000'000;
// Qt's timers wake to the millisecond and often a little late; the timer wakes this much
// before a tick is due and waits out the rest precisely.
constexpr qint64 EARLY_WAKE_NS = 2 * NS_PER_MS;
constexpr qint64 AWAKE_WAIT_NS = NS_PER_MS / 4;
}  // namespace

int64_t monotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

PeriodicTimer::PeriodicTimer(std::function<void()> tick) : tick_(std::move(tick)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { fire(); });
}

void PeriodicTimer::start(int periodMs, int64_t anchorNs) {
  periodMs_ = std::max(1, periodMs);
  schedule_.start(anchorNs, static_cast<qint64>(periodMs_) * NS_PER_MS);
  active_ = true;
  armForNextTick();
}

void PeriodicTimer::stop() {
  active_ = false;
  timer_.stop();
}

void PeriodicTimer::armForNextTick() {
  const qint64 delayNs = schedule_.delayFrom(monotonicNs()) - EARLY_WAKE_NS;
  timer_.start(static_cast<int>(std::max<qint64>(0, delayNs) / NS_PER_MS));
}

// A sleep may end a fraction of a millisecond late when the system is busy; the last
// moments before the tick are waited out awake.
void PeriodicTimer::waitUntilDue() const {
  const qint64 remainingNs = schedule_.delayFrom(monotonicNs());
  if (remainingNs > AWAKE_WAIT_NS)
    std::this_thread::sleep_for(std::chrono::nanoseconds(remainingNs - AWAKE_WAIT_NS));
  while (schedule_.delayFrom(monotonicNs()) > 0) {
  }
}

// The receiver may stop or restart the timer from inside the tick; it has the last word.
void PeriodicTimer::fire() {
  if (!active_) return;
  waitUntilDue();
  schedule_.beginTick();
  tick_();
  schedule_.endTick(monotonicNs());
  if (active_) armForNextTick();
}

}  // namespace brenavo::qt
