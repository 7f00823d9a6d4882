// The playback timer ticks until stopped, and a tick may stop its own timer. Its schedule
// is checked on a simulated clock with the core's tests.
#include "platform/qt/periodic_timer.h"

#include <QtTest>

using brenavo::qt::PeriodicTimer;

class PeriodicTimerTest : public QObject {
  Q_OBJECT

 private slots:
  void ticksUntilStoppedEvenByItsOwnTick() {
    for (const bool selfStopping : {false, true}) {
      int ticks = 0;
      PeriodicTimer* self = nullptr;
      PeriodicTimer timer([&] { if (++ticks > 0 && selfStopping) self->stop(); });
      self = &timer;
      timer.start(1, brenavo::qt::monotonicNs());
      QTRY_VERIFY(ticks >= (selfStopping ? 1 : 3));
      if (!selfStopping) timer.stop();
      const int stoppedAt = ticks;
      QTest::qWait(20);
      QVERIFY(!timer.isActive() && ticks == stoppedAt);
    }
  }
};

QTEST_MAIN(PeriodicTimerTest)
#include "periodic_timer_test.moc"
