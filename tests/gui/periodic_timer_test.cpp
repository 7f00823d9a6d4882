// The playback timer ticks until stopped, restarts on start, and a stopped timer stays
// silent. Its schedule is checked on a simulated clock with the core's tests.
#include "platform/qt/periodic_timer.h"

#include <QtTest>

using brenavo::qt::PeriodicTimer;

class PeriodicTimerTest : public QObject {
  Q_OBJECT

 private slots:
  void ticksUntilStoppedAndRestartsOnStart() {
    int ticks = 0;
    PeriodicTimer timer([&ticks] { ++ticks; });
    QVERIFY(!timer.isActive());
    timer.start(2);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.periodMs(), 2);
    QTRY_VERIFY(ticks >= 3);
    timer.stop();
    QVERIFY(!timer.isActive());
    const int stoppedAt = ticks;
    QTest::qWait(20);
    QCOMPARE(ticks, stoppedAt);
    timer.start(1000);
    QCOMPARE(timer.periodMs(), 1000);
    QVERIFY(timer.isActive());
  }

  // A receiver that stops the timer from inside a tick gets no further tick.
  void aTickMayStopItsOwnTimer() {
    int ticks = 0;
    PeriodicTimer* self = nullptr;
    PeriodicTimer timer([&] {
      ++ticks;
      self->stop();
    });
    self = &timer;
    timer.start(1);
    QTRY_COMPARE(ticks, 1);
    QVERIFY(!timer.isActive());
    QTest::qWait(10);
    QCOMPARE(ticks, 1);
  }
};

QTEST_MAIN(PeriodicTimerTest)
#include "periodic_timer_test.moc"
