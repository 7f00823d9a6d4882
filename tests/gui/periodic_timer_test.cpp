// The playback timer ticks until stopped, and a tick may stop its own timer. Its schedule
// is checked on a simulated clock with the core's tests.
#include "platform/qt/periodic_timer.h"

#include <QtTest>

using brenavo::qt::PeriodicTimer;

class PeriodicTimerTest : public QObject {
  Q_OBJECT

 private slots:
  void ticksUntilStopped() {
    int ticks = 0;
    PeriodicTimer timer([&ticks] { ++ticks; });
    timer.start(2, brenavo::qt::monotonicNs());
    QVERIFY(timer.isActive());
    QTRY_VERIFY(ticks >= 3);
    timer.stop();
    QVERIFY(!timer.isActive());
    const int stoppedAt = ticks;
    QTest::qWait(20);
    QCOMPARE(ticks, stoppedAt);
  }

  void aTickMayStopItsOwnTimer() {
    int ticks = 0;
    PeriodicTimer* self = nullptr;
    PeriodicTimer timer([&] {
      ++ticks;
      self->stop();
    });
    self = &timer;
    timer.start(1, brenavo::qt::monotonicNs());
    QTRY_COMPARE(ticks, 1);
    QVERIFY(!timer.isActive());
    QTest::qWait(10);
    QCOMPARE(ticks, 1);
  }
};

QTEST_MAIN(PeriodicTimerTest)
#include "periodic_timer_test.moc"
