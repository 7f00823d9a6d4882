// Start-up and shutdown: the MIDI warning before the window shows, the exit command and the
// close box each taking the program down once. (It ends Qt's event loops for good.)
#include "gui_test_support.h"

using namespace brenavo;
using namespace brenavo::guitest;

class LifecycleTest : public QObject {
  Q_OBJECT
  QTranslator spanish_;

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }

  void missingMidiOutputWarnsAndBothWaysOutTakeTheProgramDownOnce() {
    QString seen;
    answerNextBox(QMessageBox::Ok, seen);
    TestWindow t(false);
    QCOMPARE(seen, QString("Brenavo: ERROR|Control de MIDI no disponible.|Aceptar,|2|0"));
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
      QVERIFY(t.showActive());  // the keyboard back to the window
      answerNextBox(answer, seen);
      QTest::keyClick(t.window.get(), Qt::Key_X, Qt::ControlModifier);
      const std::optional<int> quit = answer == QMessageBox::Yes ? std::optional(0) : std::nullopt;
      QVERIFY2(seen.contains("|&Sí,&No,|") && t.window->desktop().quitCode() == quit, qPrintable(seen));
    }
    QVERIFY(t.window->close() && wParamsOf(WM_DESTROY).size() == 1);  // not again
    TestWindow run;  // the close box during a run stops its timer
    QVERIFY(run.showActive());
    QTest::keyClick(run.window.get(), Qt::Key_F5);
    QVERIFY(run.window->desktop().isTimerRunning(IDM_PLAY_TIMER) && run.window->close());
    QVERIFY(wParamsOf(WM_DESTROY).size() == 1 && run.window->desktop().quitCode() == 0 &&
            !run.window->desktop().isTimerRunning(IDM_PLAY_TIMER));
  }
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
