// Start-up and shutdown of the main window: the MIDI warning before the window shows,
// the exit command and the close box each taking the program down exactly once.
// (Ending the program ends Qt's event loops for good, so these cases live apart.)
#include <QTranslator>
#include <QtTest>

#include "gui_test_support.h"

using namespace brenavo;
using namespace brenavo::guitest;

class LifecycleTest : public QObject {
  Q_OBJECT

 private:
  QTranslator spanish_;

 private slots:
  void initTestCase() { QVERIFY(qt::installSpanishQtTranslation(spanish_)); }

  void missingMidiOutputWarnsBeforeTheWindowShowsThenPlaysSilently() {
    BoxSeen seen;
    answerNextBox(QMessageBox::Ok, seen);
    TestWindow t(false);
    QCOMPARE(seen.text, QString("Control de MIDI no disponible."));
    QCOMPARE(seen.title, QString("Brenavo: ERROR"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QStringList{"Aceptar"});
    QVERIFY(!seen.ownerVisible);
    QVERIFY(t.showActive());
    QTest::keyClick(t.window.get(), Qt::Key_F5);
    QCOMPARE(t.program().sel.ctrlPlay, 1);
    QTest::keyClick(t.window.get(), Qt::Key_F8);
    QVERIFY(t.fake.midiMessages.empty());
  }

  // "No" keeps the program; "Sí" takes it down once and saves the tempo just chosen.
  void exitAsksThenTakesTheProgramDownOnceAndSaves() {
    TestWindow t;
    QVERIFY(t.showActive());
    QTest::keyClick(t.window.get(), Qt::Key_F9);
    t.fake.storedDwords.clear();
    BoxSeen seen;
    answerNextBox(QMessageBox::No, seen);
    QTest::keyClick(t.window.get(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(seen.text, QString("¿Quiere terminar con el Brenavo?"));
    QCOMPARE(seen.title, QString("Brenavo: "));
    QCOMPARE(seen.buttons, (QStringList{"&Sí", "&No"}));
    QVERIFY(seen.ownerVisible);
    QVERIFY(wParamsOf(WM_DESTROY).empty() && !t.window->desktop().quitCode());

    QVERIFY(t.showActive());  // the keyboard comes back to the window
    answerNextBox(QMessageBox::Yes, seen);
    QTest::keyClick(t.window.get(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(wParamsOf(WM_DESTROY).size(), size_t(1));
    QCOMPARE(t.window->desktop().quitCode(), std::optional<int>(0));
    QCOMPARE(t.fake.storedDwords["playbackSpeed"], 2);
    t.window->close();
    QCOMPARE(wParamsOf(WM_DESTROY).size(), size_t(1));
  }

  void closeBoxDuringARunLeavesNothingSounding() {
    TestWindow t;
    QVERIFY(t.showActive());
    QTest::keyClick(t.window.get(), Qt::Key_F5);
    QVERIFY(!t.fake.soundingNotes.empty());
    t.fake.storedDwords.clear();
    QVERIFY(t.window->close());
    QCOMPARE(wParamsOf(WM_DESTROY).size(), size_t(1));
    QCOMPARE(t.window->desktop().quitCode(), std::optional<int>(0));
    QVERIFY(!t.window->desktop().isTimerRunning(IDM_PLAY_TIMER));  // no step after the end
    QVERIFY(t.fake.soundingNotes.empty());
    QCOMPARE(t.fake.storedDwords.size(), size_t(17));
  }
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
