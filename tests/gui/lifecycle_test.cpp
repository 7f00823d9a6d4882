// Start-up and shutdown of the main window on the desktop: the MIDI warning before the
// window shows, the exit command and the close box each taking the program down once.
// (Ending the program ends Qt's event loops for good, so these cases live apart.)
#include <QTranslator>
#include <QtTest>

#include "gui_test_support.h"

using namespace brenavo;
using namespace brenavo::guitest;

class LifecycleTest : public QObject {
  Q_OBJECT
  QTranslator spanish_;

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }

  void missingMidiOutputWarnsBeforeTheWindowShows() {
    BoxSeen seen;
    answerNextBox(QMessageBox::Ok, seen);
    TestWindow t(false);
    QCOMPARE(seen.title + "|" + seen.text,
             QString("Brenavo: ERROR|Control de MIDI no disponible."));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QStringList{"Aceptar"});
    QVERIFY(!seen.ownerVisible);
  }

  // "No" keeps the program; "Sí" takes it down, and the close box afterwards not again.
  void exitAsksThenTakesTheProgramDownOnce() {
    TestWindow t;
    QVERIFY(t.showActive());
    BoxSeen seen;
    answerNextBox(QMessageBox::No, seen);
    QTest::keyClick(t.window.get(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(seen.buttons, (QStringList{"&Sí", "&No"}));
    QVERIFY(wParamsOf(WM_DESTROY).empty() && !t.window->desktop().quitCode());
    QVERIFY(t.showActive());  // the keyboard comes back to the window
    answerNextBox(QMessageBox::Yes, seen);
    QTest::keyClick(t.window.get(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(t.window->desktop().quitCode(), std::optional<int>(0));
    t.window->close();
    QCOMPARE(wParamsOf(WM_DESTROY).size(), size_t(1));
  }

  void closeBoxDuringARunStopsItsTimer() {
    TestWindow t;
    QVERIFY(t.showActive());
    QTest::keyClick(t.window.get(), Qt::Key_F5);
    QVERIFY(t.window->desktop().isTimerRunning(IDM_PLAY_TIMER));
    QVERIFY(t.window->close());
    QCOMPARE(wParamsOf(WM_DESTROY).size(), size_t(1));
    QCOMPARE(t.window->desktop().quitCode(), std::optional<int>(0));
    QVERIFY(!t.window->desktop().isTimerRunning(IDM_PLAY_TIMER));  // no step after the end
  }
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
