// The schedule of a periodic timer that does not drift: tick k is due at start + k x period,
// however late the earlier ticks were delivered.
#pragma once

#include <cstdint>

namespace brenavo {

class TickSchedule {
 public:
  // Starts counting periods from now. A start asked for while a tick is being handled
  // (a loop starting again at the end of a run) counts from that tick's due time instead,
  // so the new run stays on the beat of the old one.
  void start(int64_t nowNs, int64_t periodNs) {
    startNs_ = inTick_ ? tickDueNs_ : nowNs;
    periodNs_ = periodNs > 0 ? periodNs : 1;
    nextTick_ = 1;
    restartedInTick_ = inTick_;
  }

  // When the next tick is due, in the clock's own time.
  int64_t dueAt() const { return startNs_ + nextTick_ * periodNs_; }

  // Time to wait from now until the next tick; 0 when it is already due.
  int64_t delayFrom(int64_t nowNs) const {
    const int64_t delay = dueAt() - nowNs;
    return delay > 0 ? delay : 0;
  }

  // Brackets the handling of the due tick.
  void beginTick() {
    inTick_ = true;
    restartedInTick_ = false;
    tickDueNs_ = dueAt();
  }
  // Moves on to the next tick, unless the handler started the schedule anew. Ticks that a
  // stalled process missed entirely are not delivered in a burst: the next one is the
  // first that is not yet a whole period overdue.
  void endTick(int64_t nowNs) {
    inTick_ = false;
    if (restartedInTick_) return;
    ++nextTick_;
    while (dueAt() <= nowNs - periodNs_) ++nextTick_;
  }

 private:
  int64_t startNs_ = 0;
  int64_t periodNs_ = 1;
  int64_t nextTick_ = 1;
  int64_t tickDueNs_ = 0;
  bool inTick_ = false;
  bool restartedInTick_ = false;
};

}  // namespace brenavo
