#include "platform/qt/periodic_timer.h"

#include <algorithm>

namespace brenavo::qt {

namespace {
constexpr qint64 NS_PER_MS = 1'000'000;
}

PeriodicTimer::PeriodicTimer(std::function<void()> tick) : tick_(std::move(tick)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  clock_.start();
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { fire(); });
}

void PeriodicTimer::start(int periodMs) {
  periodMs_ = std::max(1, periodMs);
  schedule_.start(clock_.nsecsElapsed(), static_cast<qint64>(periodMs_) * NS_PER_MS);
  active_ = true;
  armForNextTick();
}

void PeriodicTimer::stop() {
  active_ = false;
  timer_.stop();
}

// Waits until the next tick is due, to the nearest millisecond.
void PeriodicTimer::armForNextTick() {
  const qint64 delayNs = schedule_.delayFrom(clock_.nsecsElapsed());
  timer_.start(static_cast<int>((delayNs + NS_PER_MS / 2) / NS_PER_MS));
}

// The receiver may stop or restart the timer from inside the tick; it has the last word.
void PeriodicTimer::fire() {
  if (!active_) return;
  schedule_.beginTick();
  tick_();
  schedule_.endTick(clock_.nsecsElapsed());
  if (active_) armForNextTick();
}

}  // namespace brenavo::qt
